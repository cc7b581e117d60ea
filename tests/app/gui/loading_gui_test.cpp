// Module loading driven from outside: the power-cycle dialog, uploads with their progress
// dialog, the upload commands and the command line's operations at start. tarlin.exe runs
// on a fresh null-modem pair with the module simulator at the other end.
#include "modsim.h"
#include "nullmodem.h"
#include "process.h"
#include "tarlin_harness_win32.h"
#include "tarlincmdline.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

using namespace tarlin_gui;
using testing_support::ModuleSimulator;
using testing_support::NullModem;

namespace {

const char kBanner[] = "MODUL XY verze 1.23 (c) 2024";
const wchar_t kPowerCycleTitle[] = L"Tarlin - zapnutí a vypnutí modulu";
const wchar_t kProgressTitle[] = L"Průběh nahrávání";
const unsigned int kOpenUpload = 1504, kOpenNonStandard = 1505, kUploadAgain = 1521,
                   kKeepUploading = 1534, kUploadFile = 1535;
// Controls of the two dialogs.
const int kHeadline = 32822, kSlowHint = 32823, kCancel = 32824, kSkip = 32825,
          kBackToPortSettings = 32827, kReceived = 32829, kState = 32831, kFileHint = 32832;
const int kProgressBar = 32785, kNoConfirmation = 32786, kProgressFile = 32787,
          kProgressCancel = 32789;
const uint8_t kNormal = 0x70, kAnnounce = 0x74;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string SampleFile() {
    return ReadFile(testing_support::FromLinux(TARLIN_SAMPLE_MODULE));
}

// The first n lines of text, line feeds included.
std::string FirstLines(const std::string& text, int n) {
    size_t end = 0;
    for (int i = 0; i < n && end != std::string::npos; ++i) {
        end = text.find('\n', end);
        if (end != std::string::npos) ++end;
    }
    return end == std::string::npos ? text : text.substr(0, end);
}

int Height(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

std::wstring Ascii(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// The text of a message box: its static text.
std::wstring BoxText(HWND box) {
    return WindowText(FindChild(box, L"Static", 0xFFFF));
}

// The text of a window of another program as the window itself answers (a status bar keeps
// its parts' texts apart from its caption).
std::wstring SentText(HWND window) {
    wchar_t text[512] = {};
    ::SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

// The screen's rows joined, so that a line the terminal wrapped reads whole.
std::string ScreenText(const ProgramState& state) {
    std::string text;
    for (const std::string& line : state.lines)
        text += line;
    return text;
}

// Waits until the window is gone; false after ms.
bool WaitGone(HWND window, int ms) {
    for (int waited = 0; waited < ms && ::IsWindow(window); waited += 50)
        Pump(50);
    return !::IsWindow(window);
}

class LoadingTest : public ::testing::Test {
protected:
    // alias: a further name of the program's end, for a port the port settings offer.
    explicit LoadingTest(const std::string& alias = std::string()) : modem(alias) {}
    void SetUp() override {
        RemoveUserSettings();
        ASSERT_TRUE(modem.Ready());
    }
    // The simulator with the module's banner, recording what is uploaded.
    void Simulate(std::vector<std::string> options = {}) {
        options.insert(options.end(), {"--banner", kBanner, "--record", RecordPath()});
        sim = std::make_unique<ModuleSimulator>(modem, options);
        ASSERT_TRUE(sim->Started());
    }
    std::string RecordPath() const { return modem.Folder() + "/record"; }
    std::string Recorded() const { return ReadFile(sim->LocalRecordPath()); }
    void PutSample(const std::string& name) {
        std::ofstream(folder.File(name), std::ios::binary) << SampleFile();
    }
    std::vector<std::string> PortArguments() const {
        return {"-c", portName.empty() ? modem.PortName(0) : portName, "115200", "8", "0"};
    }
    void Start(std::vector<std::string> more) {
        std::vector<std::string> args = PortArguments();
        args.insert(args.end(), more.begin(), more.end());
        ASSERT_TRUE(program.Start(args, folder.Path()));
    }
    // Switches the module off and on once the power-cycle dialog asks for it.
    HWND PowerWhenAsked(int ms = 30000) {
        HWND dialog = program.WaitForDialog(kPowerCycleTitle, ms);
        if (dialog != nullptr) sim->Command("power");
        return dialog;
    }
    // Types the path into the program's file-open dialog and confirms it.
    bool ChooseInFileDialog(const std::string& path) {
        HWND open = program.WaitForDialog(L"Otevřít soubor", 10000);
        if (open == nullptr) return false;
        // The file-name field: the edit of a combo box, or an edit of its own.
        HWND name = FindChild(::GetDlgItem(open, 0x47C), L"Edit");
        if (name == nullptr || !::IsWindowVisible(name)) name = ::GetDlgItem(open, 0x480);
        if (name == nullptr) return false;
        ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Ascii(path).c_str()));
        ::PostMessageW(open, WM_COMMAND, IDOK, 0);
        return true;
    }
    // The module sends text until it shows: data that arrives while a loading thread still
    // reads, or before the port is purged after a cancel, does not reach the screen.
    bool SendUntilShown(const std::string& text, ProgramState* state = nullptr) {
        for (int attempt = 0; attempt < 10; ++attempt) {
            sim->Command("send " + text + "\\n\\r");
            if (WaitForText(text, state, 1000)) return true;
        }
        return false;
    }
    bool WaitForText(const std::string& text, ProgramState* state = nullptr, int ms = 20000) {
        return program.WaitFor([&](const ProgramState& s) { return s.Contains(text); }, ms, state);
    }
    static std::string SuccessLine(const std::string& path, int n) {
        return "(Tarlin: soubor [" + path + "] byl úspěšně nahrán [" + std::to_string(n) + "])";
    }

    NullModem modem;
    std::string portName; // the alias, when the port goes by it
    StartFolder folder;
    std::unique_ptr<ModuleSimulator> sim;
    TarlinProcess program;
    HWND main = nullptr;
};

TEST_F(LoadingTest, CommandLineUploadSendsEveryLineThenResetsAndCloses) {
    Simulate({"--idle", "silent"});
    PutSample("demo.mhx");
    Start({"-f", "demo.mhx", "-r", "-w", "x"});
    ASSERT_NE(PowerWhenAsked(), nullptr);
    HWND closing = nullptr;
    for (int i = 0; i < 200 && closing == nullptr; ++i) {
        HWND box = program.WaitForDialog(L" Tarlin ", 100);
        if (box != nullptr && BoxText(box).find(L"Aplikace bude") == 0) closing = box;
    }
    ASSERT_NE(closing, nullptr);
    EXPECT_EQ(BoxText(closing), L"Aplikace bude po úspěšném provedení všech operací zadaných z "
                                L"příkazové řádky ukončena.");
    EXPECT_EQ(program.MainWindow(0), nullptr);
    EXPECT_EQ(Recorded(), SampleFile());
    // "RST\r" followed the success: the module started again and sent its banner.
    ProgramState state;
    ASSERT_TRUE(WaitForText(kBanner, &state, 5000)) << state.Line(state.cursorRow);
    int success = 0, reset = 0, banner = 0;
    ASSERT_TRUE(state.Find(SuccessLine("demo.mhx", 1), &success, nullptr));
    ASSERT_TRUE(state.Find("RST", &reset, nullptr));
    state.Find(kBanner, &banner, nullptr);
    EXPECT_LT(reset, success);
    EXPECT_TRUE(state.Contains("HEXDWL"));
    ::PostMessageW(closing, WM_COMMAND, IDOK, 0);
    int code = 0;
    ASSERT_TRUE(program.WaitForExit(60000, &code));
    EXPECT_EQ(code, -2);
}

TEST_F(LoadingTest, SuccessLineCountsUploadsAndF9AndF10UploadAgain) {
    Simulate({"--idle", "silent"});
    PutSample("demo.mhx");
    Start({"-f", "demo.mhx"});
    ASSERT_NE(PowerWhenAsked(), nullptr);
    main = program.MainWindow(60000);
    ASSERT_NE(main, nullptr);
    ProgramState state;
    ASSERT_TRUE(WaitForText(SuccessLine("demo.mhx", 1), &state));
    int row = 0, column = 0;
    state.Find("[demo.mhx]", &row, &column);
    EXPECT_EQ(state.Attribute(row, column), kNormal);
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(state.Attribute(row, column + i), kAnnounce) << i;
    EXPECT_EQ(state.Attribute(row, column + 9), kNormal);
    state.Find("nahrán [1]", &row, &column);
    EXPECT_EQ(state.Attribute(row, column + 8), kAnnounce);
    EXPECT_EQ(state.Attribute(row, column + 9), kNormal);
    // The module's version and the ready line came first.
    EXPECT_TRUE(state.Contains("(Tarlin: modul připraven k nahrání souboru)"));
    EXPECT_EQ(state.Status(3), "MODUL XY verze 1.23");
    EXPECT_FALSE(state.menus[kOpenUpload].enabled);
    EXPECT_TRUE(state.menus[kUploadAgain].enabled);
    EXPECT_TRUE(state.menus[kKeepUploading].enabled);
    EXPECT_EQ(state.uploads, 1);
    EXPECT_EQ(Recorded(), SampleFile());

    for (int n = 2; n <= 3; ++n) {
        ASSERT_TRUE(BringToFront(main));
        PressKey(VK_F9);
        ASSERT_NE(PowerWhenAsked(10000), nullptr) << n;
        ASSERT_TRUE(WaitForText(SuccessLine("demo.mhx", n), &state, 30000)) << n;
        EXPECT_EQ(state.uploads, n);
    }
    EXPECT_EQ(Recorded(), SampleFile() + SampleFile() + SampleFile());

    // F10: one module after another until a power cycle is cancelled.
    ASSERT_TRUE(BringToFront(main));
    PressKey(VK_F10);
    for (int n = 4; n <= 5; ++n) {
        ASSERT_NE(PowerWhenAsked(10000), nullptr) << n;
        ASSERT_TRUE(WaitForText(SuccessLine("demo.mhx", n), &state, 30000)) << n;
    }
    HWND next = program.WaitForDialog(kPowerCycleTitle, 10000);
    ASSERT_NE(next, nullptr);
    ::PostMessageW(next, WM_COMMAND, kCancel, 0);
    ASSERT_TRUE(WaitGone(next, 3000));
    ASSERT_TRUE(SendUntilShown("dalsi modul nebude", &state));
    EXPECT_EQ(state.uploads, 5);
    EXPECT_EQ(program.FindWindowTitled(kPowerCycleTitle), nullptr);
}

// The banner arrives in pieces sent through the simulator's control file.
TEST_F(LoadingTest, PowerCycleDialogReportsWhatArrivesAndSkipConnectsWithoutModule) {
    StartFolder versions({kBanner});
    PageRecorder pages; // before the start: the program passes its environment on
    Simulate({"--idle", "silent"});
    ASSERT_TRUE(program.Start(PortArguments(), versions.Path()));
    HWND dialog = program.WaitForDialog(kPowerCycleTitle, 20000);
    ASSERT_NE(dialog, nullptr);
    const int height = Height(dialog);
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, kHeadline)),
              L"Pro nahrání souboru vypněte a zapněte modul");
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, kFileHint)),
              L"po vypnutí a zapnutí ho lze vybrat přes volbu 'Otevřít' v menu aplikace");
    EXPECT_EQ(SentText(FindChild(dialog, STATUSCLASSNAMEW)),
              L"Nastavení portu: " + Ascii(modem.PortName(0)) + L" 115200/8/Žádná (NO)");
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dialog, kSlowHint)));
    auto waitFor = [&](int id, const std::wstring& text) {
        for (int i = 0; i < 60 && WindowText(::GetDlgItem(dialog, id)) != text; ++i)
            Pump(50);
        return WindowText(::GetDlgItem(dialog, id));
    };
    // 7 characters, then 30 more without "\n\r": no version in them.
    sim->Command("send 1234567");
    EXPECT_EQ(waitFor(kReceived, L"7"), L"7");
    sim->Command("send 123456789012345678901234567890");
    EXPECT_EQ(waitFor(kReceived, L"37"), L"37");
    EXPECT_EQ(waitFor(kState, L"Znaky neobsahují verzi/chybně nastavený port!"),
              L"Znaky neobsahují verzi/chybně nastavený port!");
    // F1 opens the help at the power cycle.
    ASSERT_TRUE(BringToFront(dialog));
    PressKey(VK_F1);
    for (int i = 0; i < 40 && pages.Requests().empty(); ++i)
        Pump(100);
    ASSERT_EQ(pages.Requests().size(), 1u);
    EXPECT_NE(pages.Requests()[0].find("TarlinHelp.htm#topic40"), std::string::npos);
    // After 2 s of silence the start of a known banner, then an ending nobody knows.
    Pump(2600);
    sim->Command("send \\n\\rMODUL XY verze 1.23 (c)");
    EXPECT_EQ(waitFor(kReceived, L"62"), L"62");
    sim->Command("send  1999\\n\\r");
    EXPECT_EQ(waitFor(kState, L"Nekompletní záznam a nebo neznámá verze!"),
              L"Nekompletní záznam a nebo neznámá verze!");
    EXPECT_TRUE(Screenshot("loading_power_cycle"));
    // After 10 s the hint about a module that does not answer shows, and stays.
    for (int i = 0; i < 200 && !::IsWindowVisible(::GetDlgItem(dialog, kSlowHint)); ++i)
        Pump(50);
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(dialog, kSlowHint)));
    EXPECT_EQ(Height(dialog) - height, 60);
    Pump(500);
    EXPECT_TRUE(Screenshot("loading_power_cycle_hint"));

    ::PostMessageW(dialog, WM_COMMAND, kSkip, 0);
    main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    ProgramState state;
    ASSERT_TRUE(
        program.WaitFor([](const ProgramState& s) { return s.portOpen == 1; }, 5000, &state));
    for (unsigned int command : {kOpenUpload, kUploadAgain, kKeepUploading})
        EXPECT_FALSE(state.menus[command].enabled) << command;
    EXPECT_TRUE(state.menus[kOpenNonStandard].enabled);
    EXPECT_EQ(state.Status(2), "Připojen: " + modem.PortName(0) + " 115200/8/Žádná (NO)");
    // The read thread has the port again.
    EXPECT_TRUE(SendUntilShown("po preskoceni"));
}

// Cancelling at the power cycle, at the prompt's time-out warning and in the middle of an
// upload: nothing hangs, the port stays connected and received data shows again.
TEST_F(LoadingTest, CancellingUploadAgainKeepsThePortAndShowsReceivedData) {
    Simulate({"--idle", "echo", "--ack-delay", "10"});
    PutSample("demo.mhx");
    Start({"-f", "demo.mhx"});
    HWND dialog = program.WaitForDialog(kPowerCycleTitle, 20000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, kFileHint)), L"demo.mhx");
    sim->Command("power");
    main = program.MainWindow(60000);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitForText(SuccessLine("demo.mhx", 1)));

    // The power cycle of "Znovu nahrát" cancelled.
    program.Command(kUploadAgain);
    dialog = program.WaitForDialog(kPowerCycleTitle, 10000);
    ASSERT_NE(dialog, nullptr);
    ::PostMessageW(dialog, WM_COMMAND, kCancel, 0);
    ASSERT_TRUE(WaitGone(dialog, 3000));
    ProgramState state;
    ASSERT_TRUE(
        program.WaitFor([](const ProgramState& s) { return s.portOpen == 1; }, 5000, &state));
    EXPECT_TRUE(state.menus[kUploadAgain].enabled);
    EXPECT_TRUE(SendUntilShown("prijato po zruseni"));

    // Cancelled while the warning about the missing prompt is open.
    sim->Command("prompt-delay 4000");
    program.Command(kUploadAgain);
    dialog = program.WaitForDialog(kPowerCycleTitle, 10000);
    ASSERT_NE(dialog, nullptr);
    sim->Command("power");
    HWND warning = nullptr;
    for (int i = 0; i < 100 && warning == nullptr; ++i) {
        HWND box = program.WaitForDialog(L" Tarlin ", 100);
        if (box != nullptr && BoxText(box).find(L"Bohužel") == 0) warning = box;
    }
    ASSERT_NE(warning, nullptr);
    ::PostMessageW(dialog, WM_COMMAND, kCancel, 0);
    EXPECT_TRUE(WaitGone(warning, 3000));
    EXPECT_TRUE(WaitGone(dialog, 3000));
    sim->Command("prompt-delay 0");
    EXPECT_TRUE(SendUntilShown("po varovani"));

    // Cancelled while lines go out: no success line, the module's echo shows again.
    program.Command(kUploadAgain);
    dialog = program.WaitForDialog(kPowerCycleTitle, 10000);
    ASSERT_NE(dialog, nullptr);
    sim->Command("power");
    HWND progress = program.WaitForDialog(kProgressTitle, 10000);
    ASSERT_NE(progress, nullptr);
    Pump(1000);
    ::PostMessageW(progress, WM_COMMAND, kProgressCancel, 0);
    EXPECT_TRUE(WaitGone(progress, 3000));
    ASSERT_TRUE(SendUntilShown("po preruseni", &state));
    EXPECT_FALSE(state.Contains("nahrán [2]"));
    EXPECT_EQ(state.uploads, 1);
    EXPECT_EQ(state.portOpen, 1);
}

TEST_F(LoadingTest, NoConfirmationTextAfterFiveSecondsAndCancelWritesNoSuccessLine) {
    Simulate({"--idle", "silent", "--drop-ack", "5"});
    PutSample("demo.mhx");
    Start({"-f", "demo.mhx"});
    ASSERT_NE(PowerWhenAsked(), nullptr);
    HWND progress = program.WaitForDialog(kProgressTitle, 30000);
    ASSERT_NE(progress, nullptr);
    const int height = Height(progress);
    EXPECT_EQ(WindowText(::GetDlgItem(progress, kProgressFile)), L"demo.mhx");
    // Line 5 goes unanswered: 5 s later the dialog grows to say so.
    for (int i = 0; i < 200 && Height(progress) == height; ++i)
        Pump(50);
    EXPECT_EQ(Height(progress) - height, 35);
    EXPECT_EQ(WindowText(::GetDlgItem(progress, kNoConfirmation)),
              L"Do časového limitu nepřišlo potvrzení k odeslaným datům. Zkontrolujte soubor "
              L"nebo modul, případně nastavení portu.");
    EXPECT_TRUE(Screenshot("loading_progress_no_confirmation"));
    ::PostMessageW(progress, WM_COMMAND, kProgressCancel, 0);
    main = program.MainWindow(10000);
    ASSERT_NE(main, nullptr);
    ProgramState state;
    ASSERT_TRUE(SendUntilShown("po zruseni", &state));
    EXPECT_FALSE(state.Contains("úspěšně nahrán"));
    EXPECT_EQ(state.uploads, 0);
    EXPECT_FALSE(state.menus[kUploadAgain].enabled);
    EXPECT_EQ(Recorded(), FirstLines(SampleFile(), 5));
}

// 70,000 lines, every tenth of them long enough to be sent: the bar's range covers them all
// (it would stop at 4,463 if it were 16 bits wide), and the bar ends full.
TEST_F(LoadingTest, ProgressOfSeventyThousandLinesReachesTheEnd) {
    const int lines = 70000;
    {
        std::ofstream out(folder.File("long.mhx"), std::ios::binary);
        for (int n = 0; n < lines; ++n)
            out << (n % 10 == 0 ? "S1" + std::to_string(100000 + n) + "\n" : std::string("\n"));
    }
    Simulate({"--idle", "silent"});
    Start({"-f", "long.mhx"});
    ASSERT_NE(PowerWhenAsked(), nullptr);
    HWND progress = program.WaitForDialog(kProgressTitle, 30000);
    ASSERT_NE(progress, nullptr);
    HWND bar = ::GetDlgItem(progress, kProgressBar);
    int limit = 0, largest = 0;
    bool belowLimitPastSixteenBits = false;
    while (::IsWindow(bar)) {
        const int position = static_cast<int>(::SendMessageW(bar, PBM_GETPOS, 0, 0));
        const int high = static_cast<int>(::SendMessageW(bar, PBM_GETRANGE, FALSE, 0));
        if (high > 0) limit = high;
        if (position > 4463 && position < high) belowLimitPastSixteenBits = true;
        if (position > largest) largest = position;
        Pump(100);
    }
    EXPECT_EQ(limit, lines - 1);
    EXPECT_TRUE(belowLimitPastSixteenBits) << "largest position seen " << largest;
    main = program.MainWindow(30000);
    ASSERT_NE(main, nullptr);
    ProgramState state;
    ASSERT_TRUE(WaitForText(SuccessLine("long.mhx", 1), &state));
    EXPECT_EQ(state.progressLimit, lines - 1);
    EXPECT_EQ(state.progressPosition, lines - 1);
    const std::string recorded = Recorded();
    EXPECT_EQ(std::count(recorded.begin(), recorded.end(), '\n'), lines / 10);
}

TEST_F(LoadingTest, UnopenableFileAsksToFindItAndTheChosenFileIsUploaded) {
    Simulate({"--idle", "silent"});
    PutSample("found.mhx");
    Start({"-f", "missing.mhx"});
    ASSERT_NE(PowerWhenAsked(), nullptr);
    HWND question = program.WaitForDialog(L" Tarlin ", 30000);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(BoxText(question),
              L"Nepodařilo se otevřít zvolený soubor:\n\n[missing.mhx].\n\nChceš ho najít sám?");
    ::PostMessageW(question, WM_COMMAND, IDYES, 0);
    const std::string path = folder.File("found.mhx");
    ASSERT_TRUE(ChooseInFileDialog(path));
    HWND shortcut = nullptr;
    for (int i = 0; i < 100 && shortcut == nullptr; ++i) {
        HWND box = program.WaitForDialog(L" Tarlin ", 100);
        if (box != nullptr && box != question && ::IsWindow(box)) shortcut = box;
    }
    ASSERT_NE(shortcut, nullptr);
    EXPECT_EQ(BoxText(shortcut), L"Chceš s tímto novým souborem vytvořit nový odkaz?");
    ::PostMessageW(shortcut, WM_COMMAND, IDNO, 0);
    main = program.MainWindow(30000);
    ASSERT_NE(main, nullptr);
    ProgramState state;
    EXPECT_TRUE(program.WaitFor(
        [&](const ProgramState& s) {
            return ScreenText(s).find(SuccessLine(path, 1)) != std::string::npos;
        },
        20000, &state))
        << ScreenText(state);
    EXPECT_EQ(Recorded(), SampleFile());
}

// The port settings offer COM1 ... COM16: the pair's end goes by one of them as well.
class LoadingOnListedPortTest : public LoadingTest {
protected:
    LoadingOnListedPortTest() : LoadingTest("COM11") { portName = "COM11"; }
};

// "-w r": connected without a module, the file waits; "-io xa": the last mode letter wins.
TEST_F(LoadingOnListedPortTest, WithoutModuleTheFileWaitsAndUploadFileChoosesItAfterThePowerCycle) {
    Simulate({"--idle", "silent"});
    PutSample("demo.mhx");
    Start({"-w", "r", "-f", "demo.mhx", "-io", "xa"});
    main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    ProgramState state;
    ASSERT_TRUE(WaitForText("(Tarlin: soubor [demo.mhx] nebude nahrán)", &state));
    int row = 0, column = 0;
    state.Find("[demo.mhx]", &row, &column);
    EXPECT_EQ(state.Attribute(row, column), kNormal);
    EXPECT_EQ(state.Attribute(row, column + 1), kAnnounce);
    EXPECT_EQ(state.Attribute(row, column + 8), kAnnounce);
    EXPECT_EQ(state.Attribute(row, column + 9), kNormal);
    for (unsigned int command : {kOpenUpload, kUploadAgain, kKeepUploading})
        EXPECT_FALSE(state.menus[command].enabled) << command;
    EXPECT_EQ(state.es, 1);
    EXPECT_EQ(state.hexOutput, 0);
    EXPECT_TRUE(Recorded().empty());

    // "Nahrát": the power cycle first, with a way back to the port settings; the file is
    // chosen once the module is ready.
    program.Command(kUploadFile);
    HWND dialog = program.WaitForDialog(kPowerCycleTitle, 10000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, kFileHint)),
              L"dialog pro výběr souboru se otevře po zapnutí a vypnutí modulu");
    ::PostMessageW(dialog, WM_COMMAND, kBackToPortSettings, 0);
    HWND settings = program.WaitForDialog(L"Tarlin - nastavení portu", 10000);
    ASSERT_NE(settings, nullptr);
    ::PostMessageW(settings, WM_COMMAND, 32779, 0); // OK
    ASSERT_NE(PowerWhenAsked(10000), nullptr);
    ASSERT_TRUE(ChooseInFileDialog(folder.File("demo.mhx")));
    EXPECT_TRUE(program.WaitFor(
        [&](const ProgramState& s) {
            return ScreenText(s).find(SuccessLine(folder.File("demo.mhx"), 1)) != std::string::npos;
        },
        20000, &state))
        << ScreenText(state);
    EXPECT_EQ(Recorded(), SampleFile());
    EXPECT_TRUE(state.menus[kUploadAgain].enabled);
}

TEST_F(LoadingTest, HelpDialogScrollsAndEndingItEndsTheProgramBeforeAnyPortDialog) {
    ASSERT_TRUE(program.Start({"-h"}, folder.Path()));
    HWND help = program.WaitForDialog(L"Nápověda k příkazové řádce", 20000);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(program.FindWindowTitled(L"Tarlin - nastavení portu"), nullptr);
    ASSERT_TRUE(BringToFront(help));
    Pump(500);
    HWND vertical = ::GetDlgItem(help, 32820), horizontal = ::GetDlgItem(help, 32821);
    ASSERT_NE(vertical, nullptr);
    ASSERT_NE(horizontal, nullptr);
    EXPECT_EQ(WindowText(::GetDlgItem(help, IDOK)), L"&Pokračovat");
    EXPECT_EQ(WindowText(::GetDlgItem(help, IDCANCEL)), L"&Ukončit aplikaci");
    RECT client, bar;
    ::GetClientRect(help, &client);
    ::GetWindowRect(vertical, &bar);
    EXPECT_EQ(bar.right - bar.left, 15);
    // The text is drawn on white in the area the bars leave.
    RECT text{0, 0, client.right - 15, client.bottom - 57};
    EXPECT_GT(CountPixels(help, RGB(255, 255, 255), &text, 8), (text.right * text.bottom) / 2);
    EXPECT_TRUE(Screenshot("loading_command_line_help"));
    auto scroll = [&](UINT message, HWND which, WORD code) {
        ::SendMessageW(help, message, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(which));
        return ::GetScrollPos(which, SB_CTL);
    };
    EXPECT_EQ(scroll(WM_VSCROLL, vertical, SB_PAGEDOWN), 10);
    EXPECT_EQ(scroll(WM_VSCROLL, vertical, SB_LINEUP), 9);
    EXPECT_EQ(scroll(WM_VSCROLL, vertical, SB_BOTTOM), 9); // ignored
    // Two notches of the wheel down move four lines.
    ::SendMessageW(help, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), 0);
    EXPECT_EQ(::GetScrollPos(vertical, SB_CTL), 13);
    EXPECT_EQ(scroll(WM_HSCROLL, horizontal, SB_LINEDOWN), 1);
    EXPECT_EQ(scroll(WM_HSCROLL, horizontal, SB_PAGEUP), 0);
    // The ranges: every line of the text, and the longest entry as a whole.
    int lines = 5 + 1, longest = 0;
    for (int row = 1; row <= CTarlinCmdLine::GetSwitchCount(); ++row) {
        const std::string entry = CTarlinCmdLine::GetHelpText(row);
        lines += static_cast<int>(std::count(entry.begin(), entry.end(), '\r')) + 2;
        longest = std::max(longest, static_cast<int>(entry.size()));
    }
    for (int i = 0; i < 60; ++i) {
        scroll(WM_VSCROLL, vertical, SB_PAGEDOWN);
        scroll(WM_HSCROLL, horizontal, SB_PAGEDOWN);
    }
    EXPECT_EQ(::GetScrollPos(vertical, SB_CTL), lines);
    EXPECT_EQ(::GetScrollPos(horizontal, SB_CTL), longest);
    EXPECT_EQ(scroll(WM_VSCROLL, vertical, SB_LINEDOWN), lines);
    Pump(300);
    EXPECT_TRUE(Screenshot("loading_command_line_help_scrolled"));

    ::PostMessageW(help, WM_COMMAND, IDCANCEL, 0);
    int code = 0;
    ASSERT_TRUE(program.WaitForExit(10000, &code));
    EXPECT_EQ(code, -2);
    EXPECT_FALSE(program.AnyMainWindow());
}

TEST_F(LoadingTest, HelpDialogContinuesIntoTheStartAndIoLettersSetTheView) {
    Simulate({"--idle", "silent"});
    Start({"-h", "-io", "ah", "-w", "r"});
    HWND help = program.WaitForDialog(L"Nápověda k příkazové řádce", 20000);
    ASSERT_NE(help, nullptr);
    ::PostMessageW(help, WM_COMMAND, IDOK, 0);
    main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    ProgramState state;
    ASSERT_TRUE(
        program.WaitFor([](const ProgramState& s) { return s.portOpen == 1; }, 5000, &state));
    EXPECT_EQ(state.hexOutput, 1);
    EXPECT_EQ(state.es, 0);
    EXPECT_TRUE(state.menus[1518].checked);
}

// The port's device pulled out in the middle of an upload, and while the module is awaited:
// the user is told, no success line appears, and the program goes on without the port.
TEST_F(LoadingTest, LostDeviceIsReportedAndNeverCountsAsUploaded) {
    Simulate({"--idle", "silent", "--ack-delay", "20"});
    PutSample("demo.mhx");
    Start({"-f", "demo.mhx"});
    ASSERT_NE(PowerWhenAsked(), nullptr);
    HWND progress = program.WaitForDialog(kProgressTitle, 30000);
    ASSERT_NE(progress, nullptr);
    Pump(1000);
    modem.Vanish(0);
    const std::wstring lost = L"Zařízení portu " + Ascii(modem.PortName(0)) + L" bylo odpojeno.";
    HWND box = nullptr;
    for (int i = 0; i < 100 && box == nullptr; ++i) {
        HWND found = program.WaitForDialog(L" Tarlin ", 100);
        if (found != nullptr && BoxText(found).find(lost) == 0) box = found;
    }
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(BoxText(box), lost + L"\n\nSoubor nebyl nahrán celý.");
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitGone(progress, 5000));
    main = program.MainWindow(10000);
    ASSERT_NE(main, nullptr);
    ProgramState state;
    // The read thread finds the device gone and the program disconnects, asking about the
    // screen first.
    HWND question = nullptr;
    for (int i = 0; i < 100 && question == nullptr; ++i) {
        HWND found = program.WaitForDialog(L" Tarlin ", 100);
        if (found != nullptr && found != box && ::GetDlgItem(found, 7) != nullptr) question = found;
    }
    ASSERT_NE(question, nullptr);
    ::PostMessageW(question, WM_COMMAND, 7, 0); // "Ne": the screen stays
    EXPECT_TRUE(program.WaitFor(
        [](const ProgramState& s) { return s.portOpen == 0 && s.Status(2) == "Odpojen"; }, 10000,
        &state))
        << state.Status(2);
    EXPECT_FALSE(state.Contains("úspěšně nahrán"));
    EXPECT_EQ(state.uploads, 0);
    program.Close();
    int code = 1;
    EXPECT_TRUE(program.WaitForExit(10000, &code));
}

TEST_F(LoadingTest, LostDeviceDuringThePowerCycleLeadsBackToThePortSettings) {
    Simulate({"--idle", "silent"});
    Start({});
    HWND dialog = program.WaitForDialog(kPowerCycleTitle, 20000);
    ASSERT_NE(dialog, nullptr);
    modem.Vanish(0);
    HWND box = program.WaitForDialog(L" Tarlin ", 10000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(BoxText(box), L"Zařízení portu " + Ascii(modem.PortName(0)) +
                                L" bylo odpojeno.\n\nZkontrolujte připojení a zvolte port znovu.");
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitGone(dialog, 5000));
    HWND settings = program.WaitForDialog(L"Tarlin - nastavení portu", 10000);
    ASSERT_NE(settings, nullptr);
    ::PostMessageW(settings, WM_COMMAND, 32780, 0); // Storno
    int code = 0;
    ASSERT_TRUE(program.WaitForExit(10000, &code));
    EXPECT_EQ(code, -2);
}

} // namespace
