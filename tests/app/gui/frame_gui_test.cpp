// The program's frame driven from outside: start-up, the terminal, the bars, connecting and
// disconnecting, About and help, closing. tarlin.exe runs on a fresh null-modem pair with
// the module simulator at the other end.
#include "modsim.h"
#include "nullmodem.h"
#include "portsetting.h"
#include "comm.h"
#include "process.h"
#include "tarlin_harness_win32.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <memory>

using namespace tarlin_gui;
using testing_support::ModuleSimulator;
using testing_support::NullModem;

namespace {

const char kBanner[] = "MODUL XY verze 1.23 (c) 2024";
// Command ids of the main window and its bars.
const unsigned int kAbout = 1503, kConnect = 1506, kDisconnect = 1507, kHelpContents = 1512,
                   kAnsi = 1516, kHex = 1518, kVantor = 1519, kOpenUpload = 1504,
                   kOpenNonStandard = 1505, kInfo = 1510;
const int kBaudList = 32793;
const uint8_t kNormal = 0x70, kEcho = 0x78, kAnnounce = 0x74, kError = 0x71, kRedText = 0x71;

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveUserSettings();
        ASSERT_TRUE(modem.Ready());
    }
    void Simulate(std::vector<std::string> options = {}) {
        options.insert(options.end(), {"--banner", kBanner});
        sim = std::make_unique<ModuleSimulator>(modem, options);
        ASSERT_TRUE(sim->Started());
    }
    // Starts the program connected to end a from the command line, without power cycle.
    void StartConnected(const char* letters = "r") {
        ASSERT_TRUE(program.Start({"-c", modem.PortName(0), "115200", "8", "0", "-w", letters},
                                  folder.Path()));
        main = program.MainWindow();
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(program.WaitFor([](const ProgramState& s) { return s.portOpen == 1; }, 10000));
    }
    bool WaitForText(const std::string& text, ProgramState* state = nullptr, int ms = 10000) {
        return program.WaitFor([&](const ProgramState& s) { return s.Contains(text); }, ms, state);
    }
    bool ButtonEnabled(unsigned int command) {
        const LRESULT state = ::SendMessageW(ButtonBar(main), TB_GETSTATE, command, 0);
        return state != -1 && (state & TBSTATE_ENABLED) != 0;
    }

    // The text of the tip that shows while the mouse rests on a tool-bar button.
    std::wstring TipOver(unsigned int command) {
        ProgramState state;
        if (!program.Query(state) || state.buttons.count(command) == 0) return L"?";
        RECT place = state.buttons[command];
        POINT middle{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
        ::ClientToScreen(ButtonBar(main), &middle);
        MoveMouse(middle.x, middle.y - 1);
        MoveMouse(middle.x, middle.y);
        for (int i = 0; i < 40; ++i) {
            Pump(100);
            HWND tip = program.FindVisibleWindowOfClass(L"tooltips_class32");
            wchar_t text[512] = {};
            if (tip != nullptr)
                ::SendMessageW(tip, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
            if (text[0] != 0) return text;
        }
        return std::wstring();
    }

    NullModem modem;
    StartFolder folder;
    std::unique_ptr<ModuleSimulator> sim;
    TarlinProcess program;
    HWND main = nullptr;
};

TEST_F(FrameTest, PortFromTheCommandLineConnectsWithoutDialogs) {
    Simulate({"--idle", "silent"});
    StartConnected();
    const std::string setting = "Připojen: " + modem.PortName(0) + " 115200/8/Žádná (NO)";
    ProgramState state;
    ASSERT_TRUE(program.WaitFor([&](const ProgramState& s) { return s.Status(2) == setting; }, 5000,
                                &state))
        << state.Status(2);
    EXPECT_EQ(state.statusIcon[2], 1067u);
    EXPECT_EQ(state.lists[kBaudList].text, "115200");
    EXPECT_TRUE(state.lists[kBaudList].enabled);
    EXPECT_EQ(state.lists[32794].text, "8");
    EXPECT_EQ(state.lists[32795].text, "Žádná (NO)");
    // Connected without a module: connect and upload wait, the rest is there.
    EXPECT_FALSE(state.menus[kConnect].enabled);
    EXPECT_TRUE(state.menus[kDisconnect].enabled);
    EXPECT_FALSE(state.menus[kOpenUpload].enabled);
    EXPECT_TRUE(state.menus[kOpenNonStandard].enabled);
    EXPECT_TRUE(state.menus[kInfo].enabled);
    EXPECT_FALSE(ButtonEnabled(kConnect));
    EXPECT_TRUE(ButtonEnabled(kDisconnect));
    EXPECT_FALSE(ButtonEnabled(kOpenUpload));
    EXPECT_TRUE(ButtonEnabled(1517));
    // The buttons' tips say what they do, and why a grayed one waits.
    EXPECT_EQ(TipOver(kDisconnect), L"Odpojení od portu");
    EXPECT_EQ(TipOver(kConnect), L"Připojení k portu.\r\nVolba je přístupná po odpojení od portu.");

    sim->Command("power");
    ASSERT_TRUE(WaitForText(kBanner, &state));
    int row = 0, column = 0;
    state.Find(kBanner, &row, &column);
    EXPECT_EQ(state.Attribute(row, column), kNormal);
    EXPECT_TRUE(
        program.WaitFor([](const ProgramState& s) { return s.Status(1) == "Přijato: 32"; }, 3000));
    EXPECT_TRUE(Screenshot("frame_connected"));
}

// "Příliš žluťoučký kůň" in red on the default white, then blue on yellow, both from the port.
const char kCzechRed[] =
    "\\x1b[1;31mP\\xf8\\xedli\\x9a \\x9elu\\x9dou\\xe8k\\xfd k\\xf9\\xf2\\x1b[0m";
const char kBlueOnYellow[] = "\\x1b[1;34;43mmodr\\xe1 na \\x9elut\\xe9\\x1b[0m\\n\\r";

bool FontDrawsCzech(const std::string& face) {
    HDC dc = ::GetDC(nullptr);
    HFONT font =
        ::CreateFontA(15, 8, 0, 0, FW_NORMAL, 0, 0, 0, EASTEUROPE_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, face.c_str());
    HGDIOBJ old = ::SelectObject(dc, font);
    WORD glyphs[6] = {};
    const bool ok =
        ::GetGlyphIndicesW(dc, L"řůěŘŮĚ", 6, glyphs, GGI_MARK_NONEXISTING_GLYPHS) == 6 &&
        std::count(glyphs, glyphs + 6, 0xFFFF) == 0;
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, dc);
    return ok;
}

TEST_F(FrameTest, ColoursAndCzechLettersFromThePortShowInBufferAndOnScreen) {
    Simulate({"--idle", "silent"});
    StartConnected();
    sim->Command(std::string("send ") + kCzechRed + "\\n\\r" + kBlueOnYellow);
    ProgramState state;
    ASSERT_TRUE(WaitForText("modrá na žluté", &state)) << state.Line(0);
    int row = 0, column = 0;
    ASSERT_TRUE(state.Find("Příliš žluťoučký kůň", &row, &column));
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(state.Attribute(row, column + i), kRedText) << i;
    ASSERT_TRUE(state.Find("modrá na žluté", &row, &column));
    EXPECT_EQ(state.Attribute(row, column), 0x34);

    // The view shows the red text and the yellow background (painted on its 120 ms tick).
    HWND view = FindChild(main, L"TarlinViewClass");
    ASSERT_NE(view, nullptr);
    BringToFront(main);
    Pump(500);
    EXPECT_GT(CountPixels(view, RGB(255, 0, 0), nullptr, 40), 40);
    EXPECT_GT(CountPixels(view, RGB(255, 255, 0), nullptr, 40), 200);
    // Whatever the system's code page (the tests run with 1252), the view's font has the
    // Czech letters.
    EXPECT_FALSE(state.fontFace.empty());
    EXPECT_TRUE(FontDrawsCzech(state.fontFace)) << state.fontFace;
    EXPECT_TRUE(Screenshot("frame_colours"));
}

TEST_F(FrameTest, TypedCharactersReachTheModuleAndShowAsEcho) {
    Simulate({"--idle", "echo"});
    StartConnected();
    ASSERT_TRUE(BringToFront(main));
    TypeText(L"ab\u0159");
    // Each byte twice: the echo of what was sent, then what the module sent back.
    auto both = [](const ProgramState& s, char c) {
        bool echo = false, back = false;
        for (int r = 0; r < static_cast<int>(s.lines.size()); ++r)
            for (int col = 0; col < 80; ++col) {
                if (s.lines[r][col] != c) continue;
                echo = echo || s.Attribute(r, col) == kEcho;
                back = back || s.Attribute(r, col) == kNormal;
            }
        return echo && back;
    };
    ProgramState state;
    EXPECT_TRUE(program.WaitFor(
        [&](const ProgramState& s) {
            return both(s, 'a') && both(s, 'b') && both(s, static_cast<char>(0xF8));
        },
        5000, &state))
        << state.Line(0);
    EXPECT_TRUE(
        program.WaitFor([](const ProgramState& s) { return s.Status(0) == "Odesláno: 3"; }, 3000));
}

TEST_F(FrameTest, RefusedBaudRateFromTheToolBarWritesTheRedLine) {
    Simulate({"--idle", "silent"});
    StartConnected();
    HWND list = FindChild(main, L"ComboBox", kBaudList);
    ASSERT_NE(list, nullptr);
    auto choose = [&](int index) {
        ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageW(::GetParent(list), WM_COMMAND, MAKEWPARAM(kBaudList, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(list));
    };
    // An adapter that stops at 115200 refuses the next rate of the list.
    modem.LimitRate(0, 115200);
    const int refused =
        static_cast<int>(std::find(kBaudRates, kBaudRates + kBaudRateCount, 230400) - kBaudRates);
    choose(refused);
    ProgramState state;
    ASSERT_TRUE(WaitForText("(Tarlin: tento parametr se nepodařilo nastavit)", &state));
    int row = 0, column = 0;
    state.Find("(Tarlin: tento", &row, &column);
    EXPECT_EQ(state.Attribute(row, column), kError);
    EXPECT_EQ(state.baudRate, 115200);
    EXPECT_EQ(state.lists[kBaudList].text, "115200");

    // A rate the line takes is applied and announced.
    choose(6); // 9600
    ASSERT_TRUE(WaitForText(
        "(Tarlin: nové nastavení portu " + modem.PortName(0) + " 9600/8/Žádná (NO))", &state));
    state.Find("(Tarlin: nové", &row, &column);
    EXPECT_EQ(state.Attribute(row, column), kAnnounce);
    EXPECT_EQ(state.baudRate, 9600);
    EXPECT_EQ(state.Status(2), "Připojen: " + modem.PortName(0) + " 9600/8/Žádná (NO)");
}

TEST_F(FrameTest, DisconnectAsksAboutTheScreenAndAlwaysYesIsKept) {
    Simulate({"--idle", "silent"});
    StartConnected("rc");
    sim->Command("power");
    ASSERT_TRUE(WaitForText(kBanner));
    program.Command(kDisconnect);
    HWND question = program.WaitForDialog(L" Tarlin ", 5000);
    ASSERT_NE(question, nullptr);
    HWND always = ::GetDlgItem(question, IDOK);
    ASSERT_NE(always, nullptr);
    EXPECT_EQ(WindowText(always), L"Vž&dy ANO");
    EXPECT_TRUE(Screenshot("frame_disconnect_question"));
    RECT button;
    ::GetClientRect(always, &button);
    ClickAt(always, button.right / 2, button.bottom / 2);
    ProgramState state;
    ASSERT_TRUE(program.WaitFor(
        [](const ProgramState& s) { return s.alwaysClear == 1 && s.portOpen == 0; }, 5000, &state));
    EXPECT_FALSE(state.Contains(kBanner));
    EXPECT_EQ(state.Status(2), "Odpojen");
    EXPECT_EQ(state.statusIcon[2], 1056u);
    EXPECT_TRUE(state.menus[kConnect].enabled);
    EXPECT_FALSE(state.menus[kDisconnect].enabled);
    EXPECT_FALSE(state.lists[kBaudList].enabled);

    // Connected again ("c": no port dialog), text on the screen, and no question any more.
    program.Command(kConnect);
    ASSERT_TRUE(program.WaitFor([](const ProgramState& s) { return s.portOpen == 1; }, 5000));
    sim->Command("power");
    ASSERT_TRUE(WaitForText(kBanner));
    program.Command(kDisconnect);
    ASSERT_TRUE(program.WaitFor(
        [](const ProgramState& s) { return s.portOpen == 0 && s.cleared == 1; }, 5000, &state));
    EXPECT_EQ(program.FindWindowTitled(L" Tarlin ", L"#32770"), nullptr);
    program.Close();
    int code = 1;
    ASSERT_TRUE(program.WaitForExit(10000, &code));
    EXPECT_EQ(ReadLastSetting("AlwaysClear"), "true");
    EXPECT_EQ(ReadLastSetting("AlwaysWithoutClear"), "false");
    // The window's place is kept per Windows user next to version.ini.
    wchar_t user[256] = {};
    DWORD size = 256;
    ::GetUserNameW(user, &size);
    const std::wstring settings =
        std::wstring(folder.Path().begin(), folder.Path().end()) + L"\\setting.ini";
    EXPECT_EQ(::GetPrivateProfileIntW(user, L"Width", -1, settings.c_str()), 400);
    EXPECT_EQ(::GetPrivateProfileIntW(user, L"Height", -1, settings.c_str()), 300);
}

TEST_F(FrameTest, HexDisplayGraysTheEscapeModes) {
    Simulate({"--idle", "silent"});
    StartConnected();
    program.Command(kHex);
    ProgramState state;
    ASSERT_TRUE(
        program.WaitFor([](const ProgramState& s) { return s.hexOutput == 1; }, 5000, &state));
    EXPECT_TRUE(state.menus[kHex].checked);
    for (unsigned int mode : {kAnsi, kVantor}) {
        EXPECT_FALSE(state.menus[mode].enabled) << mode;
        EXPECT_FALSE(state.menus[mode].checked) << mode;
    }
    program.Command(kHex);
    ASSERT_TRUE(
        program.WaitFor([](const ProgramState& s) { return s.hexOutput == 0; }, 5000, &state));
    EXPECT_TRUE(state.menus[kAnsi].enabled);
    EXPECT_TRUE(state.menus[kAnsi].checked);
    EXPECT_TRUE(state.menus[kVantor].enabled);
    EXPECT_FALSE(state.menus[kVantor].checked);
    // ANSI twice: no escape sequences, then ANSI again; the maker's mode takes over from it.
    program.Command(kAnsi);
    ASSERT_TRUE(program.WaitFor([](const ProgramState& s) { return s.es == 0; }, 5000, &state));
    EXPECT_FALSE(state.menus[kAnsi].checked);
    program.Command(kAnsi);
    program.Command(kVantor);
    ASSERT_TRUE(program.WaitFor([](const ProgramState& s) { return s.es == 2; }, 5000, &state));
    EXPECT_FALSE(state.menus[kAnsi].checked);
    EXPECT_TRUE(state.menus[kVantor].checked);
}

TEST_F(FrameTest, WindowStopsAtItsSmallestSize) {
    Simulate({"--idle", "silent"});
    StartConnected();
    RECT rect;
    ::GetWindowRect(main, &rect);
    const int startWidth = rect.right - rect.left;
    // Drag the bottom-right corner far up and left, where the frame says it is a corner.
    for (int attempt = 0; attempt < 3; ++attempt) {
        ASSERT_TRUE(BringToFront(main));
        ::GetWindowRect(main, &rect);
        POINT corner{rect.right - 2, rect.bottom - 2};
        for (int inset = 1; inset < 8; ++inset) {
            const LRESULT hit = ::SendMessageW(main, WM_NCHITTEST, 0,
                                               MAKELPARAM(rect.right - inset, rect.bottom - inset));
            if (hit == HTBOTTOMRIGHT) {
                corner = {rect.right - inset, rect.bottom - inset};
                break;
            }
        }
        MoveMouse(corner.x - 1, corner.y - 1);
        MoveMouse(corner.x, corner.y);
        Pump(200);
        MouseButton(true);
        for (int step = 1; step <= 5; ++step)
            MoveMouse(corner.x - step * 60, corner.y - step * 40);
        MouseButton(false);
        Pump(300);
        ::GetWindowRect(main, &rect);
        if (rect.right - rect.left != startWidth) break;
    }
    EXPECT_EQ(rect.right - rect.left, 460);
    EXPECT_EQ(rect.bottom - rect.top, 250);
}

TEST_F(FrameTest, WithoutVersionIniAnywhereTheProgramSaysSoAndEndsWithMinusOne) {
    // The program alone in a folder, started from another one: version.ini in neither.
    const std::string alone = testing_support::MakeTempFolder("tarlin-alone");
    const std::string start = testing_support::MakeTempFolder("tarlin-start");
    for (const char* file : {"tarlin.exe", "Oskel.dll"})
        ASSERT_TRUE(
            testing_support::CopyFileTo(ProgramFolder() + "\\" + file, alone + "\\" + file));
    ASSERT_TRUE(program.Start({}, start, alone + "\\tarlin.exe"));
    HWND box = program.WaitForDialog(L" Tarlin ", 15000);
    ASSERT_NE(box, nullptr);
    HWND text = FindChild(box, L"Static", 0xFFFF);
    EXPECT_EQ(WindowText(text), L"Nemohu najít soubor 'version.ini'. Aplikace bude uzavřena!");
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    int code = 0;
    ASSERT_TRUE(program.WaitForExit(10000, &code));
    EXPECT_EQ(code, -1);
    EXPECT_EQ(::GetFileAttributesA((alone + "\\setting.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(::GetFileAttributesA((start + "\\setting.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    testing_support::RemoveTree(alone);
    testing_support::RemoveTree(start);
}

TEST_F(FrameTest, AltQuestionOpensAboutAndF1FollowsTheEscapeMode) {
    PageRecorder pages;
    { std::ofstream(folder.File("TarlinHelp.htm")) << "<html></html>"; }
    Simulate({"--idle", "silent"});
    StartConnected();
    ASSERT_TRUE(BringToFront(main));
    PressKey(VK_OEM_2, {VK_MENU, VK_SHIFT}); // Alt + "?"
    HWND about = program.WaitForDialog(L"O programu", 5000);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WindowText(FindChild(about, L"_My_Colored_Text_")), L"Tarlin - verze 0.8.19");
    // The hand over the logo, the dialog's own arrow elsewhere.
    auto cursorAt = [](HWND control, int dx, int dy) {
        RECT place;
        ::GetWindowRect(control, &place);
        MoveMouse(place.left + dx, place.top + dy);
        MoveMouse(place.left + dx + 1, place.top + dy + 1);
        CURSORINFO cursor{};
        cursor.cbSize = sizeof cursor;
        ::GetCursorInfo(&cursor);
        return cursor.hCursor;
    };
    const HCURSOR arrow = cursorAt(::GetDlgItem(about, 32852), 5, 3);
    EXPECT_NE(cursorAt(::GetDlgItem(about, 32853), 10, 10), arrow);
    EXPECT_TRUE(Screenshot("frame_about"));
    // The logo is the link: the browser gets the address, the probe page is gone.
    MouseButton(true);
    MouseButton(false);
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    for (int i = 0; i < 40 && pages.Requests().empty(); ++i)
        Pump(100);
    ASSERT_EQ(pages.Requests().size(), 1u);
    EXPECT_NE(pages.Requests()[0].find("https://"), std::string::npos);
    EXPECT_EQ(::GetFileAttributesW((std::wstring(temp) + L"$_$_$_$.htm").c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(cursorAt(::GetDlgItem(about, 32852), 5, 3), arrow);
    ::PostMessageW(about, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 40 && ::IsWindow(about); ++i)
        Pump(100);

    // F1 opens the help at its contents; in the maker's escape mode F1 is the module's.
    ASSERT_TRUE(BringToFront(main));
    PressKey(VK_F1);
    for (int i = 0; i < 40 && pages.Requests().size() < 2; ++i)
        Pump(100);
    ASSERT_EQ(pages.Requests().size(), 2u);
    EXPECT_NE(pages.Requests()[1].find("TarlinHelp.htm#contents"), std::string::npos)
        << pages.Requests()[1];
    program.Command(kVantor);
    ASSERT_TRUE(program.WaitFor([](const ProgramState& s) { return s.es == 2; }, 5000));
    ASSERT_TRUE(BringToFront(main));
    PressKey(VK_F1);
    Pump(1500);
    EXPECT_EQ(pages.Requests().size(), 2u);
    program.Command(kHelpContents);
    for (int i = 0; i < 40 && pages.Requests().size() < 3; ++i)
        Pump(100);
    EXPECT_EQ(pages.Requests().size(), 3u);
}

TEST_F(FrameTest, ClosingWhileTheModuleStreamsEndsCleanly) {
    const std::string stream = modem.Folder() + "/stream.txt";
    {
        std::ofstream out(testing_support::FromLinux(stream), std::ios::binary);
        for (int i = 0; i < 20000; ++i)
            out << "\x1b[1;3" << (i % 8) << "mline " << i << " of the stream\x1b[0m\n\r";
    }
    Simulate({"--idle", "silent", "--stream-rate", "40000"});
    StartConnected();
    sim->Command("stream " + stream);
    // The view follows the newest lines while they come.
    ProgramState state;
    ASSERT_TRUE(program.WaitFor(
        [](const ProgramState& s) { return s.usedLines > 50 && s.viewLine > 30; }, 10000, &state))
        << state.usedLines << " lines, view at " << state.viewLine;
    program.Close();
    const DWORD start = ::GetTickCount();
    int code = 1;
    ASSERT_TRUE(program.WaitForExit(10000, &code));
    const DWORD took = ::GetTickCount() - start;
    EXPECT_EQ(code, 0);
    EXPECT_LT(took, 5000u) << "closing took " << took << " ms";
}

// Without "-c" the start asks for the port. A port that cannot be opened grays the lists
// and shows the notice below them; choosing the null-modem's port restores them.
TEST_F(FrameTest, PortSettingsDialogOpensTheChosenPortAndTheInformationShowsIt) {
    PageRecorder pages;
    { std::ofstream(folder.File("TarlinHelp.htm")) << "<html></html>"; }
    NullModem low("COM9"); // the dialog offers COM1 ... COM16
    ASSERT_TRUE(low.Ready());
    ModuleSimulator lowSim(low, {"--idle", "silent", "--banner", kBanner});
    ASSERT_TRUE(lowSim.Started());
    ASSERT_TRUE(program.Start({"-w", "r"}, folder.Path()));
    HWND dialog = program.WaitForDialog(L"Tarlin - nastavení portu", 20000);
    ASSERT_NE(dialog, nullptr);
    HWND ports = ::GetDlgItem(dialog, 32771);
    HWND rates = ::GetDlgItem(dialog, 32772);
    HWND ok = ::GetDlgItem(dialog, 32779);
    EXPECT_EQ(::SendMessageW(ports, CB_GETCOUNT, 0, 0), 16);
    auto choosePort = [&](const wchar_t* name) {
        const LRESULT index = ::SendMessageW(ports, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(name));
        ::SendMessageW(ports, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(32771, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(ports));
    };
    auto height = [&]() {
        RECT rect;
        ::GetWindowRect(dialog, &rect);
        return rect.bottom - rect.top;
    };
    choosePort(L"COM16"); // no such device here
    EXPECT_FALSE(::IsWindowEnabled(rates));
    EXPECT_FALSE(::IsWindowEnabled(ok));
    const int grown = height();
    EXPECT_TRUE(Screenshot("frame_port_settings_unusable"));
    choosePort(L"COM9");
    EXPECT_TRUE(::IsWindowEnabled(rates));
    EXPECT_TRUE(::IsWindowEnabled(ok));
    EXPECT_EQ(grown - height(), 50);
    EXPECT_TRUE(Screenshot("frame_port_settings"));
    // F1 in the dialog opens the help at the port settings.
    ASSERT_TRUE(BringToFront(dialog));
    PressKey(VK_F1);
    for (int i = 0; i < 40 && pages.Requests().empty(); ++i)
        Pump(100);
    ASSERT_EQ(pages.Requests().size(), 1u);
    EXPECT_NE(pages.Requests()[0].find("TarlinHelp.htm#topic40"), std::string::npos);
    ::SendMessageW(rates, CB_SETCURSEL, 6, 0); // 9600
    ::PostMessageW(dialog, WM_COMMAND, 32779, 0);
    main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    ProgramState state;
    ASSERT_TRUE(program.WaitFor(
        [](const ProgramState& s) { return s.portOpen == 1 && s.portName == "COM9"; }, 10000,
        &state));
    EXPECT_EQ(state.baudRate, 9600);
    EXPECT_EQ(state.Status(2), "Připojen: COM9 9600/8/Žádná (NO)");

    program.Command(kInfo);
    HWND info = program.WaitForDialog(L"Informace o připojení", 5000);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(WindowText(::GetDlgItem(info, 32810)), L"COM9");
    EXPECT_EQ(WindowText(::GetDlgItem(info, 32811)), L"9600");
    EXPECT_EQ(WindowText(::GetDlgItem(info, 32812)), L"8");
    EXPECT_EQ(WindowText(::GetDlgItem(info, 32813)), L"Žádná (NO)");
    EXPECT_TRUE(Screenshot("frame_connection_info"));
    ::PostMessageW(info, WM_COMMAND, 32818, 0);
    for (int i = 0; i < 40 && ::IsWindow(info); ++i)
        Pump(100);
    EXPECT_FALSE(::IsWindow(info));
}

// A port from the command line that cannot be opened brings the port settings instead.
TEST_F(FrameTest, CancellingThePortSettingsAtStartEndsWithMinusTwo) {
    ASSERT_TRUE(program.Start({"-c", "COM16", "9600", "8", "0", "-w", "r"}, folder.Path()));
    HWND dialog = program.WaitForDialog(L"Tarlin - nastavení portu", 20000);
    ASSERT_NE(dialog, nullptr);
    ::PostMessageW(dialog, WM_COMMAND, 32780, 0); // "Storno"
    int code = 0;
    ASSERT_TRUE(program.WaitForExit(10000, &code));
    EXPECT_EQ(code, -2);
}

TEST_F(FrameTest, HiddenBarsLeaveTheirRoomToTheView) {
    Simulate({"--idle", "silent"});
    StartConnected();
    HWND view = FindChild(main, L"TarlinViewClass");
    ASSERT_NE(view, nullptr);
    auto place = [&]() {
        RECT rect;
        ::GetWindowRect(view, &rect);
        POINT topLeft{rect.left, rect.top};
        ::ScreenToClient(main, &topLeft);
        return std::make_pair(topLeft.y, rect.bottom - rect.top);
    };
    ProgramState state;
    ASSERT_TRUE(program.Query(state));
    const auto before = place();
    EXPECT_EQ(before.first, state.toolbarHeight);
    program.Command(1514); // "Stavový řádek"
    ASSERT_TRUE(program.WaitFor([](const ProgramState& s) { return s.statusbarVisible == 0; }, 3000,
                                &state));
    Pump(300);
    EXPECT_FALSE(state.menus[1514].checked);
    EXPECT_EQ(place().second, before.second + state.statusbarHeight);
    program.Command(1513); // "Tlačítková lišta"
    ASSERT_TRUE(
        program.WaitFor([](const ProgramState& s) { return s.toolbarVisible == 0; }, 3000, &state));
    Pump(300);
    EXPECT_EQ(place().first, 0);
    program.Command(1514);
    program.Command(1513);
    ASSERT_TRUE(program.WaitFor(
        [](const ProgramState& s) { return s.toolbarVisible == 1 && s.statusbarVisible == 1; },
        3000, &state));
    Pump(300);
    EXPECT_TRUE(state.menus[1513].checked);
    EXPECT_EQ(place(), before);
}

} // namespace
