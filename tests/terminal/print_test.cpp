// Print layout and the print dialog's error texts.
#include "printerror.h"
#include "printlayout.h"
#include "stdbuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The buffer lines printed on each page.
std::vector<std::vector<int>> Pages(const PrintLayout& layout) {
    std::vector<std::vector<int>> pages;
    for (int page = 0; page < layout.pages; ++page) {
        pages.emplace_back();
        for (int i = 0; i < PageLineCount(layout, page); ++i)
            pages.back().push_back(PageFirstLine(layout, page) + i);
    }
    return pages;
}

TEST(PrintLayout, PagesFollowTheMeasuredLineHeight) {
    // 100 units of height with 20-unit lines: five lines fit, one is left free.
    const PrintLayout layout = MakePrintLayout(100, 20, 9);
    EXPECT_EQ(layout.linesPerPage, 4);
    EXPECT_EQ(layout.pages, 3);
    const std::vector<std::vector<int>> expected = {{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9}};
    EXPECT_EQ(Pages(layout), expected) << "the blank line after the last used one is printed";
}

TEST(PrintLayout, ShortAndEmptyScreens) {
    // "abc", line feed, "def": two used lines and the blank one below them.
    EXPECT_EQ(Pages(MakePrintLayout(1000, 20, 2)), (std::vector<std::vector<int>>{{0, 1, 2}}));
    // A cleared screen gives a document without pages.
    const PrintLayout cleared = MakePrintLayout(1000, 20, 0);
    EXPECT_EQ(cleared.pages, 0);
    EXPECT_EQ(PageLineCount(cleared, 0), 0);
    // Used lines filling the pages exactly: the blank line has no page of its own.
    EXPECT_EQ(Pages(MakePrintLayout(100, 20, 4)), (std::vector<std::vector<int>>{{0, 1, 2, 3}}));
}

TEST(PrintLayout, FullBufferStopsAtTheLastLine) {
    const PrintLayout layout = MakePrintLayout(6000, 20, CStdBuffer::kLines);
    EXPECT_EQ(layout.lastLine, CStdBuffer::kLines - 1);
    const std::vector<std::vector<int>> pages = Pages(layout);
    ASSERT_FALSE(pages.empty());
    EXPECT_EQ(pages.back().back(), CStdBuffer::kLines - 1);
    int printed = 0;
    for (const auto& page : pages)
        printed += static_cast<int>(page.size());
    EXPECT_EQ(printed, CStdBuffer::kLines);
}

TEST(PrintLayout, TinyPagesAndUnmeasuredFontsStillPaginate) {
    for (const PrintLayout& layout :
         {MakePrintLayout(30, 20, 3), MakePrintLayout(1000, 0, 3), MakePrintLayout(0, 20, 3)}) {
        EXPECT_EQ(layout.linesPerPage, 1);
        EXPECT_EQ(layout.pages, 3);
    }
}

TEST(PrinterError, TextsByCode) {
    EXPECT_STREQ(PrinterErrorText(1), "Špatná velikost struktůry!\t");
    EXPECT_STREQ(PrinterErrorText(0x1007), "Nebyla nalezena žádná tiskárna!\t");
    EXPECT_STREQ(PrinterErrorText(0x1008), "Výchozí tiskárna neexistuje!\t");
    EXPECT_STREQ(PrinterErrorText(0x3003), "Buffer je příliš malý!\t");
    for (unsigned long unknown : {0ul, 12ul, 0x1001ul, 0x100Cul, 0xFFFFul})
        EXPECT_STREQ(PrinterErrorText(unknown), "Neznámá či jiná chyba!\t") << unknown;
    EXPECT_EQ(PrinterErrorMessage(4097), "Chyba při inicialici tiskárny:\n\n\tNeznámá či jiná "
                                         "chyba!\t\n\nTisk nemůže pokračovat.");
}

} // namespace
