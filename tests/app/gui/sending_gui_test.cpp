// Chat mode, content sending, manual signals, shortcuts and saving driven in the real program:
// tarlin.exe on a fresh null-modem pair with the module simulator echoing at the far end.
#include "modsim.h"
#include "nullmodem.h"
#include "process.h"
#include "tarlin_harness_win32.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <fstream>
#include <memory>
#include <string>

using namespace tarlin_gui;
using testing_support::ModuleSimulator;
using testing_support::NullModem;

namespace {

const char kBanner[] = "MODUL XY verze 1.23 (c) 2024";
const unsigned int kChatMode = 1509, kManualSignals = 1520, kSaveAs = 1523, kSave = 1522,
                   kSendFile = 1527, kSendClipboard = 1529, kCurrentShortcut = 1508,
                   kShortcutBuilder = 1528, kClearChatTexts = 1533;
// The chat line's items.
// The shortcut builder's items.
const int kBuilderNoFile = 32891, kBuilderChatMode = 32894, kBuilderPort = 32899,
          kBuilderBaud = 32900, kBuilderSave = 32903, kBuilderClose = 32904;
const int kChatText = 32801, kChatSend = 32800, kChatCr = 32802, kChatLf = 32803, kChatHex = 32806;
const uint8_t kEcho = 0x78, kNormal = 0x70;

std::wstring Wide(const std::string& cp1250) {
    std::wstring wide;
    for (unsigned char c : cp1250)
        wide += c < 0x80 ? static_cast<wchar_t>(c) : L'?';
    return wide;
}

void PutOnClipboard(const std::wstring& text) {
    ::OpenClipboard(nullptr);
    ::EmptyClipboard();
    if (!text.empty()) {
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        auto* copy = static_cast<wchar_t*>(::GlobalLock(memory));
        std::copy(text.begin(), text.end(), copy);
        copy[text.size()] = 0;
        ::GlobalUnlock(memory);
        ::SetClipboardData(CF_UNICODETEXT, memory);
    }
    ::CloseClipboard();
}

// Types a name into the program's file dialog and confirms it.
void ChooseFile(HWND dialog, const std::string& path) {
    HWND field = FindChild(dialog, L"Edit", 1148);
    if (field == nullptr) field = FindChild(dialog, L"Edit", 1152);
    ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(path).c_str()));
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

class SendingProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveUserSettings();
        // The chat line's texts and options of an earlier case sit beside the settings.
        std::string chat = UserSettingsFile();
        chat.replace(chat.rfind('\\') + 1, std::string::npos, "chat.ini");
        ::DeleteFileW(Wide(chat).c_str());
        ASSERT_TRUE(modem.Ready());
    }
    void Start(std::vector<std::string> extra = {}, std::vector<std::string> simulator = {}) {
        simulator.insert(simulator.end(), {"--banner", kBanner});
        sim = std::make_unique<ModuleSimulator>(modem, simulator);
        ASSERT_TRUE(sim->Started());
        std::vector<std::string> args = {"-c", modem.PortName(0), "115200", "8", "0", "-w", "r"};
        args.insert(args.end(), extra.begin(), extra.end());
        ASSERT_TRUE(program.Start(args, folder.Path()));
        main = program.MainWindow();
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(program.WaitFor([](const ProgramState& s) { return s.portOpen == 1; }, 10000));
    }
    HWND Chat() { return FindChild(main, L"#32770", -1); }
    // The chat line's message field (asked for by message: the window is the program's).
    std::wstring FieldText() {
        wchar_t text[256] = {};
        ::SendMessageW(ChatItem(kChatText), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
        return text;
    }
    HWND ChatItem(int id) { return ::GetDlgItem(Chat(), id); }
    bool WaitForText(const std::string& text, ProgramState* state = nullptr, int ms = 10000) {
        return program.WaitFor([&](const ProgramState& s) { return s.Contains(text); }, ms, state);
    }
    // Waits for a window to go away.
    static bool Gone(HWND window) {
        for (int i = 0; i < 50 && ::IsWindow(window); ++i)
            Pump(100);
        return !::IsWindow(window);
    }

    NullModem modem;
    StartFolder folder;
    std::unique_ptr<ModuleSimulator> sim;
    TarlinProcess program;
    HWND main = nullptr;
};

TEST_F(SendingProgramTest, ChatLineAtStartSendsTypedText) {
    Start({"-cm"});
    ProgramState state;
    ASSERT_TRUE(
        program.WaitFor([](const ProgramState& s) { return s.chatMode == 1; }, 5000, &state));
    EXPECT_TRUE(state.menus[kChatMode].checked);
    ASSERT_NE(Chat(), nullptr) << "the chat line is docked in the main window";
    Pump(700); // painted before the picture
    EXPECT_TRUE(Screenshot("program_chat_docked"));

    ::SendMessageW(ChatItem(kChatText), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"ABC"));
    ::SendMessageW(ChatItem(kChatCr), BM_CLICK, 0, 0);
    ::SendMessageW(ChatItem(kChatLf), BM_CLICK, 0, 0);
    ::SendMessageW(ChatItem(kChatSend), BM_CLICK, 0, 0);
    // The simulator echoes what it received after our own echo of what was sent.
    ASSERT_TRUE(
        program.WaitFor([](const ProgramState& s) { return s.Line(0) == "ABC"; }, 5000, &state))
        << state.Line(0);
    ASSERT_TRUE(WaitForText("ABC", &state));
    int row = -1, column = -1;
    ASSERT_TRUE(state.Find("ABC", &row, &column));
    EXPECT_EQ(state.Attribute(row, column), kEcho);
    EXPECT_TRUE(program.WaitFor(
        [](const ProgramState& s) {
            for (int r = 1; r < 4; ++r)
                if (s.Line(r) == "ABC" && s.Attribute(r, 0) == kNormal) return true;
            return false;
        },
        5000))
        << "the simulator got 41 42 43 0D 0A and sent them back";
    wchar_t entry[64] = {};
    ::SendMessageW(ChatItem(kChatText), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, L"ABC");

    // Hexadecimal writing: typed letters that are no digits vanish.
    ::SendMessageW(ChatItem(kChatHex), BM_CLICK, 0, 0);
    ::SendMessageW(ChatItem(kChatText), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    ASSERT_TRUE(BringToFront(main));
    ::SendMessageW(ChatItem(kChatText), CB_SHOWDROPDOWN, FALSE, 0);
    HWND edit = FindChild(ChatItem(kChatText), L"Edit");
    ASSERT_NE(edit, nullptr);
    ::SetForegroundWindow(main);
    ClickAt(edit, 5, 5);
    TypeText(L"xy4");
    Pump(300);
    EXPECT_EQ(FieldText(), L"4");

    // Undocked by a double click; the menu command closes it.
    const LPARAM inside = MAKELPARAM(2, 2);
    ::SendMessageW(Chat(), WM_LBUTTONDBLCLK, 0, inside);
    HWND frame = program.WaitForWindow(L"Chat Mode", 5000);
    ASSERT_NE(frame, nullptr);
    Pump(700); // painted before the picture
    EXPECT_TRUE(Screenshot("program_chat_floating"));
    program.Command(kChatMode);
    ASSERT_TRUE(program.WaitFor([](const ProgramState& s) { return s.chatMode == 0; }, 5000));
    EXPECT_FALSE(::IsWindowVisible(frame));
}

// With an empty command line the last settings apply: chat mode that was open at the last end
// opens again, and is written down as open when the program ends with it open.
TEST_F(SendingProgramTest, ChatModeKeptInTheLastSettings) {
    NullModem low("COM9"); // the port settings offer COM1 ... COM16
    ASSERT_TRUE(low.Ready());
    ModuleSimulator lowSim(low, {"--idle", "silent", "--banner", kBanner});
    ASSERT_TRUE(lowSim.Started());
    {
        std::ofstream ini(UserSettingsFile(), std::ios::binary);
        ini << "[LAST_SETTING]\r\nChatMode=true\r\nPortName=COM9\r\nBaudRate=115200\r\n";
    }
    ASSERT_TRUE(program.Start({}, folder.Path()));
    HWND port = program.WaitForDialog(L"Tarlin - nastaven\u00ed portu", 20000);
    ASSERT_NE(port, nullptr);
    ::PostMessageW(port, WM_COMMAND, 32779, 0); // the port the settings opened
    // Without "-w r" the module is identified after a power cycle.
    ASSERT_NE(program.WaitForDialog(L"Tarlin - zapnut\u00ed a vypnut\u00ed modulu", 20000),
              nullptr);
    lowSim.Command("power");
    main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    ProgramState state;
    ASSERT_TRUE(
        program.WaitFor([](const ProgramState& s) { return s.chatMode == 1; }, 10000, &state));
    EXPECT_NE(Chat(), nullptr);
    program.Close();
    int code = -1;
    ASSERT_TRUE(program.WaitForExit(10000, &code));
    EXPECT_EQ(ReadLastSetting("ChatMode"), "true");
}

TEST_F(SendingProgramTest, ClipboardTextUpToItsNulAndTheMenuFollowsTheClipboard) {
    Start();
    PutOnClipboard(L"");
    ::SendMessageW(main, WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP), 0);
    ProgramState state;
    ASSERT_TRUE(program.Query(state));
    EXPECT_FALSE(state.menus[kSendClipboard].enabled) << "no text, no command";

    const wchar_t text[] = L"schr\u00e1nka\0zbytek";
    PutOnClipboard(std::wstring(text, sizeof text / sizeof *text - 1));
    ::SendMessageW(main, WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP), 0);
    ASSERT_TRUE(program.Query(state));
    EXPECT_TRUE(state.menus[kSendClipboard].enabled) << "a menu opened with text enables it";
    program.Command(kSendClipboard);
    EXPECT_TRUE(WaitForText("schránkaschránka", &state)) << state.Line(0);
    EXPECT_FALSE(state.Contains("zbytek"));
}

TEST_F(SendingProgramTest, FileContentThroughTheOpenDialog) {
    Start();
    const std::string path = folder.File("obsah.txt");
    {
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < 100; ++i)
            out << "radek" << (i % 10) << "\r\n";
    }
    program.Command(kSendFile);
    HWND dialog = program.WaitForDialog(L"Otev\u0159\u00edt soubor", 5000);
    ASSERT_NE(dialog, nullptr);
    ChooseFile(dialog, path);
    ProgramState state;
    EXPECT_TRUE(
        program.WaitFor([](const ProgramState& s) { return s.usedLines >= 190; }, 10000, &state))
        << "800 bytes sent and echoed back: " << state.usedLines;
    EXPECT_TRUE(state.Contains("radek9"));
}

TEST_F(SendingProgramTest, ManualDtrPowersTheModuleAndTheReadThreadWaits) {
    Start({}, {"--power-on-dtr"});
    program.Command(kManualSignals);
    HWND dialog =
        program.WaitForDialog(L"Manu\u00e1ln\u00ed nastaven\u00ed sign\u00e1l\u016f", 5000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, 32862)), L"0 -> 1");
    ::SendMessageW(::GetDlgItem(dialog, 32862), BM_CLICK, 0, 0);
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, 32862)), L"1 -> 0");
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, 32880)), L"1");
    Pump(1500);
    ProgramState state;
    ASSERT_TRUE(program.Query(state));
    EXPECT_FALSE(state.Contains(kBanner)) << "the read thread is parked while the dialog is open";
    Pump(700); // painted before the picture
    EXPECT_TRUE(Screenshot("program_manual_signals"));
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Gone(dialog));
    EXPECT_TRUE(WaitForText(kBanner, &state)) << "the banner the raised DTR brought is read";
}

std::wstring LinkArguments(const std::string& path, std::wstring* description) {
    ::CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    wchar_t arguments[1024] = {};
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IShellLinkW, reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(Wide(path).c_str(), STGM_READ))) {
        link->GetArguments(arguments, 1024);
        wchar_t text[1024] = {};
        link->GetDescription(text, 1024);
        *description = text;
    }
    if (file != nullptr) file->Release();
    if (link != nullptr) link->Release();
    ::CoUninitialize();
    return arguments;
}

TEST_F(SendingProgramTest, CurrentShortcutAndSavedScreen) {
    Start();
    program.Command(kCurrentShortcut);
    HWND save = program.WaitForDialog(L"Ulo\u017eit soubor", 5000);
    ASSERT_NE(save, nullptr);
    const std::string link = folder.File("port.lnk");
    ChooseFile(save, link);
    HWND done = program.WaitForDialog(L" Tarlin ", 10000);
    ASSERT_NE(done, nullptr);
    ::PostMessageW(done, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Gone(done));
    std::wstring description;
    EXPECT_EQ(LinkArguments(link, &description), Wide("-c " + modem.PortName(0) + " 115200 8 0 "));
    EXPECT_NE(description.find(L"Rychlost: 115200"), std::wstring::npos);

    program.Command(kSaveAs);
    save = program.WaitForDialog(L"Ulo\u017eit soubor", 5000);
    ASSERT_NE(save, nullptr);
    const std::string screen = folder.File("obrazovka.txt");
    ChooseFile(save, screen);
    auto size = [&] {
        std::ifstream in(screen, std::ios::binary | std::ios::ate);
        return in ? static_cast<long long>(in.tellg()) : -1LL;
    };
    for (int i = 0; i < 50 && size() <= 0; ++i)
        Pump(100);
    const long long first = size();
    EXPECT_GT(first, 0);
    EXPECT_EQ(first % 81, 0) << "whole lines of 80 characters and a line feed";
    program.Command(kSave);
    Pump(500);
    EXPECT_EQ(size(), first) << "saving again rewrites the same file";
}

// "Tvorba zástupců..." from the menu: the shortcut the builder writes starts the program on
// the chosen port in chat mode without a file.
TEST_F(SendingProgramTest, ShortcutBuilderFromTheMenu) {
    Start();
    program.Command(kShortcutBuilder);
    HWND builder = program.WaitForDialog(L"Tvorba z\u00e1stupc\u016f", 5000);
    ASSERT_NE(builder, nullptr);
    ::SendMessageW(::GetDlgItem(builder, kBuilderPort), CB_SETCURSEL, 1, 0);
    ::SendMessageW(::GetDlgItem(builder, kBuilderBaud), CB_SETCURSEL, 14, 0);
    ::SendMessageW(::GetDlgItem(builder, kBuilderNoFile), BM_CLICK, 0, 0);
    ::SendMessageW(::GetDlgItem(builder, kBuilderChatMode), BM_CLICK, 0, 0);
    ::PostMessageW(builder, WM_COMMAND, MAKEWPARAM(kBuilderSave, BN_CLICKED), 0);
    HWND save = program.WaitForDialog(L"Ulo\u017eit soubor", 5000);
    ASSERT_NE(save, nullptr);
    const std::string link = folder.File("builder.lnk");
    ChooseFile(save, link);
    HWND done = program.WaitForDialog(L" Tarlin ", 10000);
    ASSERT_NE(done, nullptr);
    ::PostMessageW(done, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Gone(done));
    ::PostMessageW(builder, WM_COMMAND, kBuilderClose, 0);
    ASSERT_TRUE(Gone(builder));
    std::wstring description;
    EXPECT_EQ(LinkArguments(link, &description), L"-c COM2 115200 5 0 -w r -cm -io a");
    EXPECT_NE(description.find(L"Port: COM2"), std::wstring::npos) << description;
}

// The chat line's texts outlive the program until "Smazat texty v Chat modu" clears them,
// in the open line and in the file.
TEST_F(SendingProgramTest, ChatTextsSurviveARestartUntilCleared) {
    Start({"-cm"});
    ASSERT_TRUE(program.WaitFor([](const ProgramState& s) { return s.chatMode == 1; }, 5000));
    ::SendMessageW(ChatItem(kChatText), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"ABC"));
    ::SendMessageW(ChatItem(kChatSend), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForText("ABC"));
    program.Close();
    int code = -1;
    ASSERT_TRUE(program.WaitForExit(10000, &code));

    auto again = [&] {
        sim.reset();
        Start({"-cm"});
        return program.WaitFor([](const ProgramState& s) { return s.chatMode == 1; }, 5000);
    };
    ASSERT_TRUE(again());
    wchar_t entry[64] = {};
    ::SendMessageW(ChatItem(kChatText), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, L"ABC");
    program.Command(kClearChatTexts); // posted: the line empties a moment later
    LRESULT count = -1;
    for (int i = 0; i < 50 && count != 0; ++i, Pump(100))
        count = ::SendMessageW(ChatItem(kChatText), CB_GETCOUNT, 0, 0);
    EXPECT_EQ(count, 0);
    program.Close();
    ASSERT_TRUE(program.WaitForExit(10000, &code));

    ASSERT_TRUE(again());
    EXPECT_EQ(::SendMessageW(ChatItem(kChatText), CB_GETCOUNT, 0, 0), 0);
}

// Dragging the floating line across the main window's bottom edge shows the dashed frame in the
// view; letting go there docks the line again.
TEST_F(SendingProgramTest, FloatingChatDocksWhenDraggedOntoTheBottomEdge) {
    Start({"-cm"});
    ASSERT_TRUE(program.WaitFor([](const ProgramState& s) { return s.chatMode == 1; }, 5000));
    ::SendMessageW(Chat(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(2, 2));
    HWND frame = program.WaitForWindow(L"Chat Mode", 5000);
    ASSERT_NE(frame, nullptr);
    HWND view = FindChild(main, L"TarlinViewClass");
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(BringToFront(frame));
    Pump(500);
    const COLORREF dash = RGB(0x80, 0x80, 0x80);
    const int before = CountPixels(view, dash);

    RECT outer, client, mainClient;
    ::GetWindowRect(frame, &outer);
    ::GetClientRect(frame, &client);
    ::ClientToScreen(frame, reinterpret_cast<POINT*>(&client));
    ::GetClientRect(main, &mainClient);
    ::MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&mainClient), 2);
    auto overEdge = [&] {
        RECT now;
        ::GetWindowRect(frame, &now);
        return now.top < mainClient.bottom && now.bottom > mainClient.bottom;
    };
    // Down the caption in small steps until the frame lies across the edge.
    POINT pointer = {outer.left + 40, (outer.top + client.top) / 2};
    MoveMouse(pointer.x, pointer.y);
    MouseButton(true);
    for (int i = 0; i < 60 && !overEdge(); ++i) {
        pointer.y += 8;
        MoveMouse(pointer.x, pointer.y);
        Pump(50);
    }
    EXPECT_TRUE(overEdge());
    Pump(500);
    const int during = CountPixels(view, dash);
    Screenshot("program_chat_dragged");
    MouseButton(false);
    EXPECT_GT(during, before + 100) << "the dashed frame shows while the line is over the edge";

    for (int i = 0; i < 50 && Chat() == nullptr; ++i)
        Pump(100);
    ASSERT_NE(Chat(), nullptr) << "docked in the main window after the drop";
    EXPECT_FALSE(::IsWindowVisible(frame));
    Pump(500);
    EXPECT_LT(CountPixels(view, dash), before + 20) << "no dashed frame after the drop";
}

} // namespace
