// Drives the real tarlin.exe from outside: starts it with a command line (inside this test
// program's Wine process tree, so it inherits the null-modem's preload), finds its windows,
// sends messages and real input, reads its state back through the program's test probe
// (TARLIN_TEST_PROBE=1) and takes screenshots.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tarlin_gui {

// What the main window reports about itself.
struct ProgramState {
    struct Menu {
        bool enabled = false;
        bool checked = false;
    };
    struct List {
        bool enabled = false;
        std::string text; // cp1250
    };

    bool valid = false;
    std::map<unsigned int, Menu> menus;
    std::string status[4]; // cp1250, as set (with the padding blanks)
    unsigned int statusIcon[4] = {};
    std::map<unsigned int, List> lists;
    std::map<unsigned int, RECT> buttons; // tool-bar buttons, in the bar's client area
    int portOpen = 0, baudRate = 0, byteSize = 0, parity = 0;
    std::string portName;
    int es = 0, hexOutput = 0, autoScroll = 0, echo = 0, alwaysClear = 0, alwaysWithoutClear = 0,
        chatMode = 0;
    int toolbarVisible = 0, toolbarHeight = 0, statusbarVisible = 0, statusbarHeight = 0;
    int viewLine = 0, viewColumn = 0, lineHeight = 0, fontReplacement = 0;
    std::string fontFace;
    int cursorRow = 0, cursorColumn = 0, usedLines = 0, cleared = 0;
    // Successful uploads so far; where the last upload's progress bar stood as it closed, and
    // its upper limit.
    int uploads = 0, progressPosition = 0, progressLimit = 0;
    std::vector<std::string> lines;               // 80 cp1250 bytes each
    std::vector<std::vector<uint8_t>> attributes; // 80 each

    // The row's text without trailing blanks; empty outside what was reported.
    std::string Line(int row) const;
    uint8_t Attribute(int row, int column) const;
    // Where text (cp1250) first stands; false when it is nowhere on the reported lines.
    bool Find(const std::string& text, int* row, int* column) const;
    bool Contains(const std::string& text) const { return Find(text, nullptr, nullptr); }
    // Status field text without the padding.
    std::string Status(int field) const;
};

// The folder of tarlin.exe in this build (Windows path, no trailing separator).
std::string ProgramFolder();

// One run of tarlin.exe. The destructor ends a program that still runs.
class TarlinProcess {
public:
    TarlinProcess();
    ~TarlinProcess();
    TarlinProcess(const TarlinProcess&) = delete;
    TarlinProcess& operator=(const TarlinProcess&) = delete;

    // Starts program (default: this build's tarlin.exe) in folder (its start folder, which
    // should hold version.ini unless the test wants it missing).
    bool Start(const std::vector<std::string>& args, const std::string& folder,
               const std::string& program = std::string());
    DWORD ProcessId() const { return m_process.dwProcessId; }

    // The main window once it is shown; null after timeoutMs.
    HWND MainWindow(int timeoutMs = 20000);
    // The main window even while it is hidden (during its creation, when the command line's
    // operations run); null when there is none.
    HWND AnyMainWindow() const;
    // A shown top-level window of the program with this title; null after timeoutMs.
    HWND WaitForWindow(const std::wstring& title, int timeoutMs);
    // Whether such a window exists now; className narrows the search when given.
    HWND FindWindowTitled(const std::wstring& title, const wchar_t* className = nullptr) const;
    // A shown top-level window of the program of this class (a tool tip, a menu).
    HWND FindVisibleWindowOfClass(const wchar_t* className) const;
    // A dialog (or message box) of the program with this title.
    HWND WaitForDialog(const std::wstring& title, int timeoutMs);

    // Asks the main window, shown or not yet shown.
    bool Query(ProgramState& state);
    // Queries until the predicate holds; the last state in *last.
    bool WaitFor(const std::function<bool(const ProgramState&)>& predicate, int timeoutMs,
                 ProgramState* last = nullptr);

    // Sends a command to the main window as a menu would (posted: dialogs it opens do not
    // block the harness).
    void Command(unsigned int id);
    // Asks the main window to close, as its close box does.
    void Close();
    // True with the exit code once the program has ended within timeoutMs.
    bool WaitForExit(int timeoutMs, int* exitCode);

private:
    PROCESS_INFORMATION m_process{};
    HWND m_main = nullptr;
};

// Real input through the system's input queue, to the foreground window.
bool BringToFront(HWND window);
void TypeText(const std::wstring& text);
// A key with modifiers held (virtual-key codes), e.g. PressKey('X', {VK_MENU}).
void PressKey(WORD key, std::initializer_list<WORD> modifiers = {});
// Moves the mouse to a point of the screen (pixels).
void MoveMouse(int x, int y);
void MouseButton(bool down);
void ClickAt(HWND window, int x, int y); // client coordinates

// Dispatches this thread's messages for about ms milliseconds.
void Pump(int ms);

// The child of parent with this class (and id, unless -1), searched through all levels.
HWND FindChild(HWND parent, const wchar_t* className, int id = -1);
std::wstring WindowText(HWND window);
// The tool bar of the main window that carries the command buttons.
HWND ButtonBar(HWND main);

// Takes a picture of the whole screen into the artefacts folder (name.png).
bool Screenshot(const std::string& name);
// Pixels of the window's client area (or of area, in client coordinates) close to colour.
int CountPixels(HWND window, COLORREF colour, const RECT* area = nullptr, int tolerance = 24);

// The per-user settings file the program keeps (AppData\Tarlin\tarlin.ini).
std::string UserSettingsFile();
// Removes it, so the next start begins from the defaults.
void RemoveUserSettings();
// A value of its [LAST_SETTING] section; empty when absent.
std::string ReadLastSetting(const char* key);

// A folder holding version.ini with the given version texts (the simulator's among them);
// removed with the object. Texts are cp1250, as the test sources' literals are.
class StartFolder {
public:
    explicit StartFolder(const std::vector<std::string>& versions = {"MODUL XY verze 1.23"});
    ~StartFolder();
    const std::string& Path() const { return m_path; } // Windows path
    std::string File(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

// While it lives, the shell opens .htm files with a recorder that notes each request
// (what a browser would have been asked to show).
class PageRecorder {
public:
    PageRecorder();
    ~PageRecorder();
    // The requests so far, one command line each.
    std::vector<std::string> Requests() const;

private:
    std::string m_record;
};

} // namespace tarlin_gui
