#include "tarlin_harness_win32.h"

#include "codepage.h"
#include "process.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace tarlin_gui {

namespace {

// The probe's command and the marker of its answer (the program's testprobe_win32.h).
const unsigned int kProbeCommand = 0xBEEF;
const wchar_t kProbeClass[] = L"TarlinHarnessProbe";

std::string g_answer;
bool g_answered = false;

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (copy != nullptr && copy->dwData == kProbeCommand) {
            g_answer.assign(static_cast<const char*>(copy->lpData), copy->cbData);
            g_answered = true;
            return 1;
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND ProbeWindow() {
    static HWND window = nullptr;
    if (window != nullptr) return window;
    WNDCLASSW description{};
    description.lpfnWndProc = &ProbeProc;
    description.hInstance = ::GetModuleHandleW(nullptr);
    description.lpszClassName = kProbeClass;
    ::RegisterClassW(&description);
    window = ::CreateWindowExW(0, kProbeClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               description.hInstance, nullptr);
    return window;
}

std::wstring Widen(const std::string& text) {
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], size);
    wide.resize(static_cast<size_t>(size > 0 ? size - 1 : 0));
    return wide;
}

std::string Utf8(const std::wstring& text) {
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &narrow[0], size, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(size > 0 ? size - 1 : 0));
    return narrow;
}

std::wstring QuotedArgument(const std::string& arg) {
    const std::wstring wide = Widen(arg);
    if (!wide.empty() && wide.find_first_of(L" \t\"") == std::wstring::npos) return wide;
    return L"\"" + wide + L"\"";
}

void ParseLine(const std::string& line, ProgramState& state) {
    std::istringstream in(line);
    std::string kind;
    in >> kind;
    if (kind == "menu") {
        unsigned int id = 0;
        int enabled = 0, checked = 0;
        in >> id >> enabled >> checked;
        state.menus[id] = {enabled != 0, checked != 0};
    } else if (kind == "status") {
        int field = 0;
        unsigned int icon = 0;
        in >> field >> icon;
        if (field < 0 || field > 3) return;
        state.statusIcon[field] = icon;
        std::string rest;
        std::getline(in, rest);
        state.status[field] = rest.empty() ? rest : rest.substr(1);
    } else if (kind == "list") {
        unsigned int id = 0;
        int enabled = 0;
        in >> id >> enabled;
        std::string rest;
        std::getline(in, rest);
        state.lists[id] = {enabled != 0, rest.empty() ? rest : rest.substr(1)};
    } else if (kind == "button") {
        unsigned int id = 0;
        RECT place{};
        in >> id >> place.left >> place.top >> place.right >> place.bottom;
        state.buttons[id] = place;
    } else if (kind == "port") {
        in >> state.portOpen >> state.baudRate >> state.byteSize >> state.parity >> state.portName;
    } else if (kind == "options") {
        in >> state.es >> state.hexOutput >> state.autoScroll >> state.echo >> state.alwaysClear >>
            state.alwaysWithoutClear >> state.chatMode;
    } else if (kind == "bars") {
        in >> state.toolbarVisible >> state.toolbarHeight >> state.statusbarVisible >>
            state.statusbarHeight;
    } else if (kind == "view") {
        in >> state.viewLine >> state.viewColumn >> state.lineHeight >> state.fontReplacement;
        std::string rest;
        std::getline(in, rest);
        state.fontFace = rest.empty() ? rest : rest.substr(1);
    } else if (kind == "upload") {
        in >> state.uploads >> state.progressPosition >> state.progressLimit;
    } else if (kind == "cursor") {
        in >> state.cursorRow >> state.cursorColumn >> state.usedLines >> state.cleared;
    } else if (kind == "line") {
        const size_t text = line.find(' ', 5);
        state.lines.push_back(text == std::string::npos ? std::string() : line.substr(text + 1));
    } else if (kind == "attr") {
        std::string hex;
        in >> hex >> hex;
        std::vector<uint8_t> bytes;
        for (size_t i = 0; i + 1 < hex.size(); i += 2)
            bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
        state.attributes.push_back(bytes);
    }
}

struct WindowSearch {
    DWORD process;
    std::wstring title;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !::IsWindowVisible(window)) return TRUE;
    if (WindowText(window) != search->title) return TRUE;
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (search->className != nullptr && ::lstrcmpiW(name, search->className) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

struct ChildSearch {
    const wchar_t* className;
    int id;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<ChildSearch*>(lParam);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (::lstrcmpiW(name, search->className) != 0) return TRUE;
    if (search->id != -1 && ::GetDlgCtrlID(window) != search->id) return TRUE;
    search->found = window;
    return FALSE;
}

std::string ArtifactsFolder() {
    return TARLIN_ARTIFACTS;
}

void SendInputs(std::vector<INPUT>& inputs) {
    if (!inputs.empty())
        ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT KeyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

} // namespace

// --- ProgramState --------------------------------------------------------------------------

std::string ProgramState::Line(int row) const {
    if (row < 0 || row >= static_cast<int>(lines.size())) return std::string();
    const std::string& text = lines[static_cast<size_t>(row)];
    const size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

uint8_t ProgramState::Attribute(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(attributes.size())) return 0;
    const auto& line = attributes[static_cast<size_t>(row)];
    return column >= 0 && column < static_cast<int>(line.size()) ? line[static_cast<size_t>(column)]
                                                                 : 0;
}

bool ProgramState::Find(const std::string& text, int* row, int* column) const {
    for (size_t r = 0; r < lines.size(); ++r) {
        const size_t at = lines[r].find(text);
        if (at == std::string::npos) continue;
        if (row != nullptr) *row = static_cast<int>(r);
        if (column != nullptr) *column = static_cast<int>(at);
        return true;
    }
    return false;
}

std::string ProgramState::Status(int field) const {
    if (field < 0 || field > 3) return std::string();
    const size_t end = status[field].find_last_not_of(' ');
    return end == std::string::npos ? std::string() : status[field].substr(0, end + 1);
}

std::string ProgramFolder() {
    std::string folder = testing_support::OwnFolder();
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

// --- TarlinProcess -------------------------------------------------------------------------

TarlinProcess::TarlinProcess() = default;

TarlinProcess::~TarlinProcess() {
    if (m_process.hProcess == nullptr) return;
    int code = 0;
    if (!WaitForExit(0, &code)) {
        Close();
        if (!WaitForExit(3000, &code)) ::TerminateProcess(m_process.hProcess, 999);
        WaitForExit(3000, &code);
    }
    ::CloseHandle(m_process.hThread);
    ::CloseHandle(m_process.hProcess);
}

bool TarlinProcess::Start(const std::vector<std::string>& args, const std::string& folder,
                          const std::string& program) {
    const std::string path = program.empty() ? ProgramFolder() + "\\tarlin.exe" : program;
    std::wstring line = L"\"" + Widen(path) + L"\"";
    for (const std::string& arg : args)
        line += L" " + QuotedArgument(arg);
    ::SetEnvironmentVariableW(L"TARLIN_TEST_PROBE", L"1");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    const std::wstring application = Widen(path);
    const std::wstring start = Widen(folder);
    return ::CreateProcessW(application.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                            start.empty() ? nullptr : start.c_str(), &startup, &m_process) != 0;
}

HWND TarlinProcess::MainWindow(int timeoutMs) {
    if (m_main != nullptr && ::IsWindow(m_main)) return m_main;
    const DWORD end = ::GetTickCount() + static_cast<DWORD>(timeoutMs);
    do {
        m_main = FindWindowTitled(L" Tarlin ", L"MainViewClass");
        if (m_main != nullptr) return m_main;
        int code = 0;
        if (WaitForExit(0, &code)) return nullptr;
        Pump(50);
    } while (static_cast<int>(end - ::GetTickCount()) > 0);
    return nullptr;
}

HWND TarlinProcess::FindWindowTitled(const std::wstring& title, const wchar_t* className) const {
    WindowSearch search{m_process.dwProcessId, title, className, nullptr};
    ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND TarlinProcess::WaitForWindow(const std::wstring& title, int timeoutMs) {
    const DWORD end = ::GetTickCount() + static_cast<DWORD>(timeoutMs);
    do {
        if (HWND found = FindWindowTitled(title)) return found;
        Pump(50);
    } while (static_cast<int>(end - ::GetTickCount()) > 0);
    return nullptr;
}

namespace {

struct ClassSearch {
    DWORD process;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<ClassSearch*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (owner != search->process || !::IsWindowVisible(window) ||
        ::lstrcmpiW(name, search->className) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

HWND TarlinProcess::FindVisibleWindowOfClass(const wchar_t* className) const {
    ClassSearch search{m_process.dwProcessId, className, nullptr};
    ::EnumWindows(&MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND TarlinProcess::WaitForDialog(const std::wstring& title, int timeoutMs) {
    const DWORD end = ::GetTickCount() + static_cast<DWORD>(timeoutMs);
    do {
        if (HWND found = FindWindowTitled(title, L"#32770")) return found;
        Pump(50);
    } while (static_cast<int>(end - ::GetTickCount()) > 0);
    return nullptr;
}

namespace {

struct HiddenSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<HiddenSearch*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (owner != search->process || ::lstrcmpiW(name, L"MainViewClass") != 0) return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

HWND TarlinProcess::AnyMainWindow() const {
    HiddenSearch search{m_process.dwProcessId, nullptr};
    ::EnumWindows(&MatchMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool TarlinProcess::Query(ProgramState& state) {
    state = ProgramState();
    HWND main = MainWindow(0);
    if (main == nullptr) main = AnyMainWindow();
    HWND probe = ProbeWindow();
    if (main == nullptr || probe == nullptr) return false;
    g_answered = false;
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(main, WM_COMMAND, kProbeCommand, reinterpret_cast<LPARAM>(probe),
                               SMTO_NORMAL, 5000, &result))
        return false;
    if (!g_answered) return false;
    std::istringstream in(g_answer);
    std::string line;
    while (std::getline(in, line))
        ParseLine(line, state);
    state.valid = true;
    return true;
}

bool TarlinProcess::WaitFor(const std::function<bool(const ProgramState&)>& predicate,
                            int timeoutMs, ProgramState* last) {
    const DWORD end = ::GetTickCount() + static_cast<DWORD>(timeoutMs);
    ProgramState state;
    bool held = false;
    do {
        held = Query(state) && predicate(state);
        if (held) break;
        Pump(100);
    } while (static_cast<int>(end - ::GetTickCount()) > 0);
    if (last != nullptr) *last = state;
    return held;
}

void TarlinProcess::Command(unsigned int id) {
    if (HWND main = MainWindow(0)) ::PostMessageW(main, WM_COMMAND, id, 0);
}

void TarlinProcess::Close() {
    if (HWND main = MainWindow(0)) ::PostMessageW(main, WM_CLOSE, 0, 0);
}

bool TarlinProcess::WaitForExit(int timeoutMs, int* exitCode) {
    if (m_process.hProcess == nullptr) return false;
    if (::WaitForSingleObject(m_process.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
        return false;
    DWORD code = 0;
    ::GetExitCodeProcess(m_process.hProcess, &code);
    if (exitCode != nullptr) *exitCode = static_cast<int>(code);
    return true;
}

// --- Input ---------------------------------------------------------------------------------

bool BringToFront(HWND window) {
    if (window == nullptr) return false;
    ::SetForegroundWindow(window);
    for (int i = 0; i < 40 && ::GetForegroundWindow() != window; ++i)
        Pump(50);
    return ::GetForegroundWindow() == window;
}

void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        std::vector<INPUT> inputs(2);
        for (int i = 0; i < 2; ++i) {
            inputs[i].type = INPUT_KEYBOARD;
            inputs[i].ki.wScan = c;
            inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
        }
        SendInputs(inputs);
        Pump(30);
    }
}

void PressKey(WORD key, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers)
        inputs.push_back(KeyInput(modifier, false));
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    for (auto it = modifiers.end(); it != modifiers.begin();)
        inputs.push_back(KeyInput(*--it, true));
    SendInputs(inputs);
    Pump(100);
}

void MoveMouse(int x, int y) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    std::vector<INPUT> inputs(1);
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dx = static_cast<LONG>((x * 65535LL + width / 2) / (width - 1));
    inputs[0].mi.dy = static_cast<LONG>((y * 65535LL + height / 2) / (height - 1));
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInputs(inputs);
    Pump(50);
}

void MouseButton(bool down) {
    std::vector<INPUT> inputs(1);
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInputs(inputs);
    Pump(50);
}

void ClickAt(HWND window, int x, int y) {
    POINT point{x, y};
    ::ClientToScreen(window, &point);
    MoveMouse(point.x, point.y);
    MouseButton(true);
    MouseButton(false);
}

void Pump(int ms) {
    const DWORD end = ::GetTickCount() + static_cast<DWORD>(ms);
    do {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (static_cast<int>(end - ::GetTickCount()) > 0);
}

HWND FindChild(HWND parent, const wchar_t* className, int id) {
    ChildSearch search{className, id, nullptr};
    ::EnumChildWindows(parent, &MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ButtonBar(HWND main) {
    HWND rebar = FindChild(main, L"ReBarWindow32");
    for (HWND bar = ::GetWindow(rebar, GW_CHILD); bar != nullptr;
         bar = ::GetWindow(bar, GW_HWNDNEXT))
        if (::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0) > 0) return bar;
    return nullptr;
}

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(window, text, 1024);
    return text;
}

// --- Pictures ------------------------------------------------------------------------------

bool Screenshot(const std::string& name) {
    return testing_support::CaptureDisplay(ArtifactsFolder() + "/" + name + ".png", Pump);
}

int CountPixels(HWND window, COLORREF colour, const RECT* area, int tolerance) {
    RECT client;
    if (area != nullptr)
        client = *area;
    else if (!::GetClientRect(window, &client))
        return 0;
    POINT origin{client.left, client.top};
    ::ClientToScreen(window, &origin);
    const int width = client.right - client.left, height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return 0;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    ::GdiFlush();
    int count = 0;
    const auto* pixels = static_cast<const unsigned char*>(bits);
    for (int i = 0; i < width * height; ++i) {
        const unsigned char* p = pixels + 4 * i; // blue, green, red
        if (std::abs(p[2] - GetRValue(colour)) <= tolerance &&
            std::abs(p[1] - GetGValue(colour)) <= tolerance &&
            std::abs(p[0] - GetBValue(colour)) <= tolerance)
            ++count;
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return count;
}

// --- Settings and folders ------------------------------------------------------------------

std::string UserSettingsFile() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, folder))) return "";
    return Utf8(folder) + "\\Tarlin\\tarlin.ini";
}

void RemoveUserSettings() {
    ::DeleteFileW(Widen(UserSettingsFile()).c_str());
}

std::string ReadLastSetting(const char* key) {
    wchar_t value[256] = {};
    ::GetPrivateProfileStringW(L"LAST_SETTING", Widen(key).c_str(), L"", value, 256,
                               Widen(UserSettingsFile()).c_str());
    return Utf8(value);
}

StartFolder::StartFolder(const std::vector<std::string>& versions) {
    m_path = testing_support::MakeTempFolder("tarlin-gui");
    std::ofstream ini(File("version.ini"), std::ios::binary);
    ini << "[VER]\r\n";
    for (size_t i = 0; i < versions.size(); ++i)
        ini << (i + 1) << "=" << versions[i] << "\r\n";
}

StartFolder::~StartFolder() {
    testing_support::RemoveTree(m_path);
}

// --- Page recorder -------------------------------------------------------------------------

namespace {

const wchar_t kPageClass[] = L"TarlinTestPage";

void SetDefaultValue(const std::wstring& key, const std::wstring& value) {
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                          &handle, nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(handle);
}

} // namespace

PageRecorder::PageRecorder() {
    m_record = testing_support::MakeTempFolder("tarlin-pages") + "\\pages.txt";
    ::SetEnvironmentVariableW(L"TARLIN_PAGE_RECORD", Widen(m_record).c_str());
    const std::wstring recorder = Widen(ProgramFolder() + "\\page_recorder.exe");
    SetDefaultValue(L".htm", kPageClass);
    SetDefaultValue(std::wstring(kPageClass) + L"\\shell\\open\\command",
                    L"\"" + recorder + L"\" \"%1\"");
}

PageRecorder::~PageRecorder() {
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kPageClass);
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L".htm");
    ::SetEnvironmentVariableW(L"TARLIN_PAGE_RECORD", nullptr);
    const size_t slash = m_record.find_last_of('\\');
    testing_support::RemoveTree(m_record.substr(0, slash));
}

std::vector<std::string> PageRecorder::Requests() const {
    std::vector<std::string> requests;
    std::ifstream in(m_record, std::ios::binary);
    std::string line;
    while (std::getline(in, line))
        if (!line.empty()) requests.push_back(line);
    return requests;
}

} // namespace tarlin_gui
