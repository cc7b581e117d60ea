// "Tisk..." in the program: the terminal, Czech letters included, on the PDF printer of a CUPS
// daemon of the test's own (tests/support/with-cups.sh), read back with pdftotext.
#include "modsim.h"
#include "nullmodem.h"
#include "pdfcheck_win32.h"
#include "tarlin_harness_win32.h"

#include <gtest/gtest.h>

using namespace tarlin_gui;

namespace {

const unsigned int kPrint = 1524;
// "Příliš žluťoučký kůň" in cp1250 bytes, as the module sends it.
const char kCzechBytes[] = "P\\xf8\\xedli\\x9a \\x9elu\\x9dou\\xe8k\\xfd k\\xf9\\xf2\\n\\r";

TEST(ProgramPrint, TheTerminalOnThePdfPrinter) {
    const std::string out = pdfcheck::OutputFolder();
    ASSERT_FALSE(out.empty()) << "run through tests/support/with-cups.sh";
    RemoveUserSettings();
    testing_support::NullModem modem;
    ASSERT_TRUE(modem.Ready());
    testing_support::ModuleSimulator sim(modem, {"--idle", "silent", "--banner", "MODUL"});
    ASSERT_TRUE(sim.Started());
    StartFolder folder;
    TarlinProcess program;
    ASSERT_TRUE(
        program.Start({"-c", modem.PortName(0), "115200", "8", "0", "-w", "r"}, folder.Path()));
    ASSERT_NE(program.MainWindow(), nullptr);
    ASSERT_TRUE(program.WaitFor([](const ProgramState& s) { return s.portOpen == 1; }, 10000));
    sim.Command(std::string("send ") + kCzechBytes);
    const char czech[] = "Příliš žluťoučký kůň";
    ASSERT_TRUE(program.WaitFor([&](const ProgramState& s) { return s.Contains(czech); }, 10000));

    program.Command(kPrint);
    HWND dialog = program.WaitForDialog(L"Print Setup", 10000);
    ASSERT_NE(dialog, nullptr);
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    const std::string pdf = pdfcheck::WaitForPdf(out, 60);
    ASSERT_FALSE(pdf.empty()) << "no PDF in " << out;
    const std::string text = pdfcheck::PdfText(pdf);
    EXPECT_NE(text.find(pdfcheck::Utf8(czech)), std::string::npos) << text.substr(0, 400);
    program.Close();
    int code = -1;
    EXPECT_TRUE(program.WaitForExit(10000, &code));
}

} // namespace
