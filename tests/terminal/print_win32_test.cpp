// Printing the screen for real: under Wine to the PDF printer of a CUPS daemon of the test's
// own (tests/support/with-cups.sh), whose PDF is read back with pdftotext; and the message
// for a print dialog that fails when there is no printer at all.
#include "codepage.h"

#include <cderr.h>
#include "dialogdriver_win32.h"
#include "gui_harness_win32.h"
#include "printerror.h"
#include "screenprinter_win32.h"
#include "stdbuffer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
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

std::string WindowsPath(const std::string& linuxPath) {
    std::string path = "Z:" + linuxPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string Utf8(const char* cp1250) {
    char out[512] = {};
    OskelCp1250ToUtf8(cp1250, out, sizeof out);
    return out;
}

void Put(CStdBuffer& buffer, const char* text) {
    for (const char* c = text; *c != 0; ++c)
        buffer.PutChar(static_cast<unsigned char>(*c), true, 0);
}

long long FileSize(const std::string& windowsPath) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(windowsPath.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Waits (answering messages) until a file exists and has stopped growing.
bool WaitForFile(const std::string& windowsPath, int seconds) {
    long long last = -1;
    for (int i = 0; i < seconds * 4; ++i) {
        guitest::Pump(250);
        const long long size = FileSize(windowsPath);
        if (size > 0 && size == last) return true;
        last = size;
    }
    return false;
}

// The newest PDF in the printer's output folder, as a Linux path.
std::string FindNewestPdf(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((WindowsPath(folder) + "\\*.pdf").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::string();
    std::string newest;
    FILETIME newestTime = {0, 0};
    do {
        if (::CompareFileTime(&found.ftLastWriteTime, &newestTime) > 0) {
            newestTime = found.ftLastWriteTime;
            newest = folder + "/" + found.cFileName;
        }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return newest;
}

// The printer writes its file after the job has left the program.
std::string NewestPdf(const std::string& folder) {
    for (int i = 0; i < 120; ++i) {
        const std::string pdf = FindNewestPdf(folder);
        if (!pdf.empty()) return pdf;
        guitest::Pump(250);
    }
    return std::string();
}

// Runs a Linux tool; Wine cannot wait for it, so its output file tells when it is done.
std::string RunTool(const std::string& command, const std::string& outputLinuxPath) {
    ::DeleteFileA(WindowsPath(outputLinuxPath).c_str());
    std::wstring line(command.begin(), command.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const std::string program = WindowsPath(command.substr(0, command.find(' ')));
    const std::wstring wideProgram(program.begin(), program.end());
    if (!::CreateProcessW(wideProgram.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process))
        return std::string();
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (!WaitForFile(WindowsPath(outputLinuxPath), 30)) return std::string();
    std::ifstream in(WindowsPath(outputLinuxPath), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class PrintToPdf : public ::testing::Test {
protected:
    void SetUp() override {
        const char* out = std::getenv("TARLIN_PDF_OUT");
        ASSERT_NE(out, nullptr) << "run through tests/support/with-cups.sh";
        folder = out;
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

    const std::string pdf = NewestPdf(folder);
    ASSERT_FALSE(pdf.empty()) << "no PDF in " << folder;
    ASSERT_TRUE(WaitForFile(WindowsPath(pdf), 30));
    const std::string text =
        RunTool("/usr/bin/pdftotext " + pdf + " " + folder + "/screen.txt", folder + "/screen.txt");
    EXPECT_NE(text.find(Utf8(czech)), std::string::npos) << text.substr(0, 300);
    EXPECT_NE(text.find(Utf8("řádek 001")), std::string::npos);
    EXPECT_NE(text.find(Utf8("řádek 299")), std::string::npos);
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
