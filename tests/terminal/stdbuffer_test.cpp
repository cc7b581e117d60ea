#include "buffer_helpers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <thread>

using terminal_test::Attr;
using terminal_test::Put;
using terminal_test::Row;
using terminal_test::Take;

namespace {

class BufferTest : public ::testing::Test {
protected:
    void SetUp() override {
        buffer = std::make_unique<CStdBuffer>();
        buffer->Init();
    }
    // Fills every line so that line r reads "line r".
    void FillAll() {
        for (int r = 0; r < CStdBuffer::kLines; ++r) {
            ASSERT_EQ(buffer->GoTo(r, 0), 1);
            Put(*buffer, "line " + std::to_string(r));
        }
    }
    std::unique_ptr<CStdBuffer> buffer;
};

TEST_F(BufferTest, InitialState) {
    EXPECT_EQ(buffer->GetRow(), 0);
    EXPECT_EQ(buffer->GetAttribute(), 0x70);
    EXPECT_EQ(std::string(buffer->GetLine(4999)), std::string(80, ' ') + "\n");
    EXPECT_EQ(buffer->GetLine(5000), nullptr);
    EXPECT_EQ(buffer->GetLine(-1), nullptr);
    EXPECT_EQ(buffer->GetLineLength(), 80);
    EXPECT_EQ(buffer->GetLineCount(), 5000);
    // The mark: the home cell carries the inverted normal attribute.
    EXPECT_EQ(buffer->GetLineAttributes(0)[0], 0x07);
    EXPECT_EQ(buffer->WasCleared(), 1);
}

TEST_F(BufferTest, WrapsAfterEightyCharacters) {
    Put(*buffer, std::string(80, 'x'));
    EXPECT_EQ(buffer->GetRow(), 0);
    EXPECT_EQ(buffer->GetColumn(), 80);
    // The mark stays on the last cell of the full line, and only there.
    EXPECT_EQ(buffer->GetLineAttributes(0)[79], 0x07);
    EXPECT_EQ(buffer->GetLineAttributes(0)[78], 0x70);
    Put(*buffer, "y");
    EXPECT_EQ(buffer->GetRow(), 1);
    EXPECT_EQ(buffer->GetColumn(), 1);
    EXPECT_EQ(Row(*buffer, 1), "y");
    EXPECT_EQ(buffer->GetLineAttributes(0)[79], 0x70);
    EXPECT_EQ(buffer->GetUsedLines(), 2);
}

TEST_F(BufferTest, LineFeedOnLastLineScrollsTenLines) {
    FillAll();
    ASSERT_EQ(buffer->GoTo(4999, 0), 1);
    buffer->SetAttribute(0x74);
    Put(*buffer, "\xB3"); // stored as '|' over "line 4999"
    buffer->PutChar('\n', true, 0);
    EXPECT_EQ(buffer->GetRow(), 4990);
    EXPECT_EQ(buffer->GetColumn(), 0);
    EXPECT_EQ(Row(*buffer, 4989), "|ine 4999");
    EXPECT_EQ(buffer->GetLineAttributes(4989)[0], 0x74);
    EXPECT_EQ(Row(*buffer, 0), "line 10");
    for (int r = 4990; r < 5000; ++r)
        EXPECT_EQ(Row(*buffer, r), "") << r;
    EXPECT_EQ(buffer->GetLineAttributes(4995)[5], 0x70);
}

// A line wrapping past the last line scrolls like a line feed: 5000 lines of history stay.
TEST_F(BufferTest, WrapPastLastLineKeepsHistory) {
    FillAll();
    ASSERT_EQ(buffer->GoTo(4999, 79), 1);
    Put(*buffer, "ab");
    EXPECT_EQ(buffer->GetRow(), 4990);
    EXPECT_EQ(buffer->GetColumn(), 1);
    EXPECT_EQ(Row(*buffer, 4990), "b");
    EXPECT_EQ(Row(*buffer, 4989).substr(0, 9), "line 4999");
    EXPECT_EQ(Row(*buffer, 4989).back(), 'a');
    EXPECT_EQ(Row(*buffer, 0), "line 10");
    EXPECT_EQ(buffer->WasCleared(), 0);
}

TEST_F(BufferTest, ControlCharacters) {
    buffer->PutChar(8, true, 0); // backspace at column 0 stays there
    EXPECT_EQ(buffer->GetColumn(), 0);
    Put(*buffer, "abc\b");
    EXPECT_EQ(buffer->GetColumn(), 2);
    EXPECT_EQ(Row(*buffer, 0), "ab");
    Put(*buffer, "\rX");
    EXPECT_EQ(Row(*buffer, 0), "Xb");
    EXPECT_EQ(buffer->GetRow(), 0);
    Put(*buffer, "\nY");
    EXPECT_EQ(buffer->GetRow(), 1);
    EXPECT_EQ(Row(*buffer, 1), "Y");
    Put(*buffer, "\n\xC4\xDA\xB3\xBA\xBB\xCD\x07\xE9\x7F");
    EXPECT_EQ(Row(*buffer, 2), "-+||+- \xE9\x7F");
    buffer->PutChar(0, true, 0);
    EXPECT_EQ(buffer->GetLine(2)[9], 0);
    buffer->PutChar('\n', false, 0); // not interpreted: stored as it is
    EXPECT_EQ(buffer->GetLine(2)[10], '\n');
    EXPECT_EQ(buffer->GetRow(), 2);
}

TEST_F(BufferTest, HexDumpLayout) {
    buffer->SetAttribute(0x71);
    for (int i = 0; i < 17; ++i)
        buffer->PutChar(static_cast<unsigned char>(0x41 + i), true, 1);
    const std::string line0 = Row(*buffer, 0);
    EXPECT_EQ(line0, "41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 | ABCDEFGHIJKLMNOP");
    EXPECT_EQ(buffer->GetLineAttributes(0)[48], 0x70);
    EXPECT_EQ(buffer->GetLineAttributes(0)[50], 0x71);
    EXPECT_EQ(Row(*buffer, 1), "51" + std::string(46, ' ') + "| Q");
    EXPECT_EQ(buffer->GetRow(), 1);
    EXPECT_EQ(buffer->GetColumn(), 3);
    buffer->PutChar(0x0A, true, 1); // control bytes show as a blank in the character column
    EXPECT_EQ(Row(*buffer, 1).substr(3, 3), "0A ");
    EXPECT_EQ(buffer->GetLine(1)[51], ' ');
}

TEST_F(BufferTest, HexDumpScrollsOnLastLine) {
    ASSERT_EQ(buffer->GoTo(4999, 0), 1);
    for (int i = 0; i < 17; ++i)
        buffer->PutChar(0xFF, true, 1);
    EXPECT_EQ(buffer->GetRow(), 4990);
    EXPECT_EQ(Row(*buffer, 4989).substr(0, 6), "FF FF ");
    EXPECT_EQ(Row(*buffer, 4990).substr(0, 2), "FF");
}

// Scrolling many times over: the history stays in order, every line keeps its own colour
// and the saved-text form (80 cells, a line feed, NUL), and the erases reach every line.
TEST_F(BufferTest, LongScrollingKeepsLinesInOrder) {
    const int total = 12345;
    for (int k = 0; k < total; ++k) {
        buffer->SetAttribute(static_cast<uint8_t>(0x70 | (k % 8)));
        Put(*buffer, "line " + std::to_string(k) + "\n");
    }
    const int cursor = buffer->GetRow();
    ASSERT_GE(cursor, 4990);
    for (int r = 0; r < CStdBuffer::kLines; ++r) {
        const int k = total - cursor + r;
        ASSERT_EQ(std::strlen(buffer->GetLine(r)), 81u) << r;
        ASSERT_EQ(buffer->GetLine(r)[80], '\n') << r;
        if (r < cursor) {
            ASSERT_EQ(Row(*buffer, r), "line " + std::to_string(k)) << r;
            ASSERT_EQ(Attr(*buffer, r, 0), 0x70 | (k % 8)) << r;
        } else {
            ASSERT_EQ(Row(*buffer, r), "") << r;
            ASSERT_EQ(Attr(*buffer, r, 5), 0x70) << r;
        }
    }
    ASSERT_EQ(buffer->GoTo(2500, 40), 1);
    buffer->ClearToStart();
    EXPECT_EQ(Row(*buffer, 0), "");
    EXPECT_EQ(Attr(*buffer, 2499, 0), 0x70);
    EXPECT_EQ(Row(*buffer, 2501), "line " + std::to_string(total - cursor + 2501));
    buffer->Clear();
    for (int r = 0; r < CStdBuffer::kLines; ++r) {
        ASSERT_EQ(Row(*buffer, r), "") << r;
        ASSERT_EQ(Attr(*buffer, r, 0), 0x70) << r;
    }
    Put(*buffer, "again\n");
    EXPECT_EQ(Row(*buffer, 0), "again");
    EXPECT_EQ(buffer->GetUsedLines(), 1);
}

TEST_F(BufferTest, GraphicRendition) {
    struct Case {
        uint8_t before;
        const char* text;
        uint8_t after;
    } cases[] = {
        {0x70, "[1;31m", 0x71},
        {0x71, "[31m", 0x70},
        {0x70, "[7m", 0x07},
        {0x14, "[0m", 0x70},
        {0x70, "[1;44m", 0x40},
        {0x70, "[1;37;40m", 0x07},
        {0x70, "[m", 0x70},
        {0x70, "[1;99m", 0x70},
        {0x72, "[7;31;44m", 0x14},
        {0x70, "[1;286m", 0x70}, // 286 & 0xFF = 30: black text
        {0x70, "[1;99999999999999999999999m", 0x70},
        // Numbers are read as strtoull reads them: blanks and a sign before the digits, the
        // full 64-bit range, saturation beyond it.
        {0x70, "[1; 32m", 0x72},
        {0x70, "[1;\t33m", 0x73},
        {0x70, "[1;+34m", 0x74},
        {0x70, "[1;-215m", 0x10},                 // 2^64 - 215: low byte 41
        {0x74, "[1;18446744073709551390m", 0x70}, // 2^64 - 226: low byte 30
        {0x74, "[1;18446744073709551646m", 0x74}, // past 2^64 - 1: 255, ignored
        {0x70, "[1;-m", 0x70},
        {0x55, "m", 0x55},
        {0x55, "", 0x55},
    };
    for (const Case& c : cases) {
        buffer->SetAttribute(c.before);
        buffer->SetAnsiAttributes(c.text);
        EXPECT_EQ(buffer->GetAttribute(), c.after) << c.text;
    }
    buffer->SetAttribute(0x55);
    buffer->SetAnsiAttributes(nullptr);
    EXPECT_EQ(buffer->GetAttribute(), 0x55);
}

TEST_F(BufferTest, CursorMovesAndRefusals) {
    EXPECT_EQ(buffer->GoTo(10, 78), 1);
    buffer->CursorRight(5); // past the end: back to the start of the same row
    EXPECT_EQ(buffer->GetRow(), 10);
    EXPECT_EQ(buffer->GetColumn(), 0);
    for (auto [row, column] : {std::pair{5000, 0}, {0, 80}, {-1, 0}, {0, -1}}) {
        EXPECT_EQ(buffer->GoTo(row, column), 0);
        EXPECT_EQ(buffer->GetRow(), 10);
    }
    buffer->CursorUp(100);
    EXPECT_EQ(buffer->GetRow(), 0);
    buffer->CursorDown(1 << 30);
    EXPECT_EQ(buffer->GetRow(), 4999);
    buffer->CursorRight(3);
    buffer->CursorLeft(10);
    EXPECT_EQ(buffer->GetColumn(), 0);
    buffer->CursorUp(-3);
    buffer->CursorRight(0);
    EXPECT_EQ(buffer->GetRow(), 4999);
    // Exactly one marked cell wherever the cursor went.
    int marked = 0;
    for (int r = 0; r < 5000; ++r)
        for (int c = 0; c < 80; ++c)
            marked += buffer->GetLineAttributes(r)[c] == 0x07;
    EXPECT_EQ(marked, 1);
}

TEST_F(BufferTest, Erases) {
    Put(*buffer, "first\r\nsecond line\r\nthird");
    ASSERT_EQ(buffer->GoTo(1, 3), 1);
    buffer->ClearLineToEnd();
    EXPECT_EQ(Row(*buffer, 1), "sec");
    EXPECT_EQ(Attr(*buffer, 1, 3), 0x70);
    EXPECT_EQ(buffer->GetLineAttributes(1)[3], 0x07); // the mark is still shown
    buffer->SetAttribute(0x74);
    buffer->ClearToStart();
    EXPECT_EQ(Row(*buffer, 0), "");
    EXPECT_EQ(Row(*buffer, 1), "");
    EXPECT_EQ(Row(*buffer, 2), "third");
    EXPECT_EQ(buffer->GetAttribute(), 0x70);
    Put(*buffer, "XYZ");
    ASSERT_EQ(buffer->GoTo(1, 4), 1);
    buffer->ClearToEnd();
    EXPECT_EQ(Row(*buffer, 1), "   X");
    EXPECT_EQ(Row(*buffer, 2), "");
    buffer->Clear();
    EXPECT_EQ(Row(*buffer, 1), "");
    EXPECT_EQ(buffer->GetUsedLines(), 0); // the cursor mark is no written line
    EXPECT_EQ(buffer->WasCleared(), 1);
}

TEST_F(BufferTest, ChangedFlagReportsOnce) {
    buffer->IsChanged(true);
    EXPECT_EQ(buffer->IsChanged(true), 0);
    Put(*buffer, "a");
    EXPECT_EQ(buffer->IsChanged(false), 1);
    EXPECT_EQ(buffer->IsChanged(true), 1);
    EXPECT_EQ(buffer->IsChanged(true), 0);
    buffer->ClearToEnd();
    EXPECT_EQ(buffer->IsChanged(true), 1);
}

TEST(BufferColors, InvertedAndNamedColors) {
    EXPECT_EQ(CStdBuffer::InvertAttribute(0x70), 0x07);
    EXPECT_EQ(CStdBuffer::InvertAttribute(0x71), 0x06);
    EXPECT_EQ(CStdBuffer::InvertAttribute(0x78), 0x07);
    EXPECT_EQ(CStdBuffer::InvertAttribute(0x08), 0x70);
    EXPECT_EQ(CStdBuffer::InvertAttribute(0xF8), 0x07);
    EXPECT_EQ(CStdBuffer::InvertAttribute(0x0C), 0x70);
    auto buffer = std::make_unique<CStdBuffer>();
    buffer->Init();
    buffer->SetAttribute(0x48);
    Put(*buffer, "ab");
    EXPECT_EQ(buffer->GetTextColor(0, 0), 0xC0C0C0u);
    EXPECT_EQ(buffer->GetBackColor(0, 0), 0xFF0000u);
    EXPECT_FALSE(buffer->IsWhiteBack(0, 0));
    EXPECT_TRUE(buffer->IsWhiteBack(0, 5));
    EXPECT_TRUE(buffer->IsWhiteBack(-1, 0));
    EXPECT_EQ(buffer->GetTextColor(0, 80), 0u);
    EXPECT_EQ(buffer->GetBackColor(5000, 0), 0xFFFFFFu);
    buffer->SetAttribute(0x9A);
    Put(*buffer, "\r\nc");
    EXPECT_EQ(buffer->GetTextColor(1, 0), 0u);
    EXPECT_EQ(buffer->GetBackColor(1, 0), 0xFFFFFFu);
    EXPECT_TRUE(buffer->IsLineMixed(0));  // colours differ along the line
    EXPECT_TRUE(buffer->IsLineMixed(1));  // the cursor row
    EXPECT_FALSE(buffer->IsLineMixed(2)); // plain
    EXPECT_FALSE(buffer->IsLineMixed(5000));
}

// Runs of bytes go to the grid in one piece; they must land exactly as byte after byte
// does: wraps, scrolls at the last line, control characters, hex display.
TEST(BufferRuns, PutTextIsPutCharOneByOne) {
    std::mt19937 random(5);
    const char controls[] = "\n\r\b\x07\xB3\xC4\xDA\xE9";
    std::string bytes;
    while (bytes.size() < 30000) {
        const unsigned kind = random() % 8;
        if (kind < 4)
            bytes.append(1 + random() % 120, static_cast<char>('a' + random() % 26));
        else if (kind < 7)
            bytes += controls[random() % (sizeof controls - 1)];
        else
            bytes += static_cast<char>(random());
    }
    auto byRun = std::make_unique<CStdBuffer>();
    auto byChar = std::make_unique<CStdBuffer>();
    for (int hex : {0, 1})
        for (bool interpret : {true, false}) {
            for (CStdBuffer* b : {byRun.get(), byChar.get()}) {
                b->Init();
                ASSERT_EQ(b->GoTo(4980, 70), 1);
                b->SetAttribute(0x74);
                b->IsChanged(true);
            }
            for (size_t at = 0; at < bytes.size();) {
                const size_t n = std::min<size_t>(1 + random() % 700, bytes.size() - at);
                byRun->PutText(bytes.data() + at, static_cast<int>(n), interpret, hex);
                for (size_t i = at; i < at + n; ++i)
                    byChar->PutChar(static_cast<unsigned char>(bytes[i]), interpret, hex);
                at += n;
                ASSERT_EQ(byRun->IsChanged(true), byChar->IsChanged(true));
            }
            EXPECT_TRUE(Take(*byRun) == Take(*byChar)) << hex << " " << interpret;
        }
}

// The read thread writes received text while the user-interface thread echoes: each
// update is whole (an echo never lands inside a run of received text or the reverse) and
// the grid carries one mark.
TEST(BufferRuns, UpdatesFromTwoThreadsStayWhole) {
    auto buffer = std::make_unique<CStdBuffer>();
    buffer->Init();
    const std::string received(40, 'r');
    const std::string echo(40, 'e');
    std::atomic<bool> go{false};
    std::thread readThread([&] {
        while (!go)
            std::this_thread::yield();
        for (int k = 0; k < 2000; ++k)
            buffer->PutText(received.data(), 40, true, 0);
    });
    go = true;
    for (int k = 0; k < 2000; ++k) {
        CStdBufferUpdate update(*buffer);
        buffer->SetAttribute(CStdBuffer::kEchoAttribute);
        buffer->PutText(echo.data(), 40, true, 0);
        buffer->SetAttribute(CStdBuffer::kDefaultAttribute);
    }
    readThread.join();
    // 4000 runs of 40 cells wrap at 80 columns: each half line holds one run whole.
    int marked = 0;
    for (int r = 0; r < CStdBuffer::kLines; ++r) {
        const std::string line(buffer->GetLine(r), CStdBuffer::kColumns);
        for (int half = 0; half < 2; ++half) {
            const std::string run = line.substr(half * 40, 40);
            ASSERT_TRUE(run == received || run == echo || run == std::string(40, ' ')) << r;
        }
        for (int c = 0; c < CStdBuffer::kColumns; ++c) {
            const int a = buffer->GetLineAttributes(r)[c];
            marked += a == 0x07;
            const int expected =
                line[c] == 'e' ? CStdBuffer::kEchoAttribute : CStdBuffer::kDefaultAttribute;
            if (a != 0x07) {
                ASSERT_EQ(a, expected) << r << " " << c;
            }
        }
    }
    EXPECT_EQ(marked, 1);
}

} // namespace
