// Printing the screen for real: under Wine to the PDF printer of a CUPS daemon of the test's
// own (tests/support/with-cups.sh), whose PDF is read back with pdftotext; and the message
// for a print dialog that the platform refuses.
#include "codepage.h"
#include "dialogdriver_win32.h"
#include "gui_harness_win32.h"
#include "pdfcheck_win32.h"
#include "printerror.h"
#include "screenprinter_win32.h"
#include "stdbuffer.h"

#include <gtest/gtest.h>

#include <cderr.h>
#include <winspool.h>

#include <cstdio>
#include <string>

namespace {

class Owner : public CMyWindow {
public:
    Owner() : CMyWindow("PrintTestOwner") {
        RECT rect = {60, 60, 560, 460};
        Create("Tarlin", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, 0, 0, &rect);
    }
};

const wchar_t kPrintSetup[] = L"Print Setup";

void Put(CStdBuffer& buffer, const char* text) {
    for (const char* c = text; *c != 0; ++c)
        buffer.PutChar(static_cast<unsigned char>(*c), true, 0);
}

class PrintToPdf : public ::testing::Test {
protected:
    void SetUp() override {
        folder = pdfcheck::OutputFolder();
        ASSERT_FALSE(folder.empty()) << "run through tests/support/with-cups.sh";
        // Without a printer Wine answers the print dialog with a message box of its own.
        DWORD needed = 0, count = 0;
        ::EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
        ASSERT_GT(needed, 0u) << "Wine sees no printer: is its CUPS library installed?";
        buffer.Init();
    }
    int PrintPressing(int button) {
        guitest::CDialogDriver driver(kPrintSetup, guitest::CDialogDriver::Press(button));
        const int result = printer.Print();
        EXPECT_TRUE(driver.Seen()) << "the print dialog was shown";
        return result;
    }

    std::string folder;
    Owner owner;
    CStdBuffer buffer;
    CPrintFont font;
    CScreenPrinter printer{owner.GetSafeHandle(), buffer, font};
};

TEST_F(PrintToPdf, CzechScreenOverSeveralPages) {
    const char* czech = "Příliš žluťoučký kůň úpěl ďábelské ódy";
    Put(buffer, czech);
    char line[32];
    for (int i = 1; i <= 299; ++i) {
        std::snprintf(line, sizeof line, "\nřádek %03d", i);
        Put(buffer, line);
    }
    EXPECT_EQ(PrintPressing(IDOK), CScreenPrinter::kPrinted);
    EXPECT_GT(printer.GetPagesPrinted(), 1) << "300 lines take more than one page";

    const std::string pdf = pdfcheck::WaitForPdf(folder, 30);
    ASSERT_FALSE(pdf.empty()) << "no PDF in " << folder;
    const std::string text = pdfcheck::PdfText(pdf);
    EXPECT_NE(text.find(pdfcheck::Utf8(czech)), std::string::npos) << text.substr(0, 300);
    EXPECT_NE(text.find(pdfcheck::Utf8("řádek 001")), std::string::npos);
    EXPECT_NE(text.find(pdfcheck::Utf8("řádek 299")), std::string::npos);
    int pages = 0;
    for (size_t at = text.find('\f'); at != std::string::npos; at = text.find('\f', at + 1))
        ++pages;
    EXPECT_EQ(pages, printer.GetPagesPrinted()) << "one form feed ends each page";
}

TEST_F(PrintToPdf, CancelledDialogPrintsNothing) {
    Put(buffer, "abc");
    EXPECT_EQ(PrintPressing(IDCANCEL), CScreenPrinter::kCancelled);
    EXPECT_EQ(printer.GetDialogError(), 0u);
    EXPECT_EQ(printer.GetPagesPrinted(), 0);
}

TEST_F(PrintToPdf, ClearedScreenHasNoPages) {
    EXPECT_EQ(PrintPressing(IDOK), CScreenPrinter::kPrinted);
    EXPECT_EQ(printer.GetPagesPrinted(), 0);
}

// A print dialog that the platform refuses (here: a record of the wrong size) is reported with
// its error text, and nothing is printed.
class CRefusedPrinter : public CScreenPrinter {
public:
    using CScreenPrinter::CScreenPrinter;

protected:
    BOOL RunPrintDialog(PRINTDLGW& record) override {
        record.lStructSize = 12;
        return CScreenPrinter::RunPrintDialog(record);
    }
};

TEST(PrintDialogFailure, IsReportedWithItsErrorText) {
    Owner owner;
    CStdBuffer buffer;
    buffer.Init();
    Put(buffer, "abc");
    CPrintFont font;
    CRefusedPrinter printer(owner.GetSafeHandle(), buffer, font);
    guitest::CDialogDriver box(L" Tarlin ", guitest::CDialogDriver::Press(IDOK));
    EXPECT_EQ(printer.Print(), CScreenPrinter::kDialogFailed);
    EXPECT_EQ(printer.GetDialogError(), static_cast<unsigned long>(CDERR_STRUCTSIZE));
    EXPECT_EQ(printer.GetPagesPrinted(), 0);
    ASSERT_TRUE(box.Seen());
    EXPECT_EQ(box.Text(), L"Chyba p\u0159i inicialici tisk\u00e1rny:\n\n\t\u0160patn\u00e1 "
                          L"velikost strukt\u016fry!\t\n\nTisk nem\u016f\u017ee pokra\u010dovat.");
}

} // namespace
