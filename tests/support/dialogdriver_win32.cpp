#include "dialogdriver_win32.h"

namespace guitest {
namespace {

CDialogDriver* g_driver = nullptr;
CStepPlayer* g_player = nullptr;

BOOL CALLBACK CollectStatic(HWND child, LPARAM out) {
    wchar_t name[32] = {};
    ::GetClassNameW(child, name, 32);
    if (::lstrcmpiW(name, L"Static") != 0) return TRUE;
    wchar_t text[1024] = {};
    ::GetWindowTextW(child, text, 1024);
    auto* joined = reinterpret_cast<std::wstring*>(out);
    if (text[0] != 0) {
        if (!joined->empty()) *joined += L'\n';
        *joined += text;
    }
    return TRUE;
}

} // namespace

std::wstring StaticTexts(HWND window) {
    std::wstring joined;
    ::EnumChildWindows(window, &CollectStatic, reinterpret_cast<LPARAM>(&joined));
    return joined;
}

CDialogDriver::CDialogDriver(const std::wstring& title, std::function<void(HWND)> answer)
    : CDialogDriver(std::vector<Expected>{{title, std::move(answer)}}) {}

CDialogDriver::CDialogDriver(std::vector<Expected> expected) : m_expected(std::move(expected)) {
    g_driver = this;
    m_timer = ::SetTimer(nullptr, 0, 100, &Tick);
}

CDialogDriver::~CDialogDriver() {
    ::KillTimer(nullptr, m_timer);
    if (g_driver == this) g_driver = nullptr;
}

const std::wstring& CDialogDriver::Text(size_t i) const {
    static const std::wstring none;
    return i < m_texts.size() ? m_texts[i] : none;
}

std::function<void(HWND)> CDialogDriver::Press(int id) {
    return [id](HWND window) { ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
}

BOOL CALLBACK CDialogDriver::Match(HWND window, LPARAM self) {
    auto* driver = reinterpret_cast<CDialogDriver*>(self);
    if (driver->m_texts.size() >= driver->m_expected.size()) return FALSE;
    const Expected& next = driver->m_expected[driver->m_texts.size()];
    wchar_t title[256] = {};
    ::GetWindowTextW(window, title, 256);
    if (window == driver->m_ignored || !::IsWindowVisible(window) || !::IsWindowEnabled(window) ||
        next.title != title)
        return TRUE;
    driver->m_texts.push_back(StaticTexts(window));
    next.answer(window);
    return FALSE;
}

void CALLBACK CDialogDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_driver == nullptr || g_driver->m_texts.size() >= g_driver->m_expected.size()) return;
    ::EnumThreadWindows(::GetCurrentThreadId(), &Match, reinterpret_cast<LPARAM>(g_driver));
}

CStepPlayer::CStepPlayer(std::vector<std::function<void()>> steps, int periodMs)
    : m_steps(std::move(steps)) {
    g_player = this;
    m_timer = ::SetTimer(nullptr, 0, static_cast<UINT>(periodMs), &Tick);
}

CStepPlayer::~CStepPlayer() {
    ::KillTimer(nullptr, m_timer);
    if (g_player == this) g_player = nullptr;
}

// A step that pumps messages itself (a screenshot) must not run the next steps inside it.
void CALLBACK CStepPlayer::Tick(HWND, UINT, UINT_PTR, DWORD) {
    static bool running = false;
    if (running || g_player == nullptr || g_player->Done()) return;
    running = true;
    g_player->m_steps[g_player->m_next++]();
    running = false;
}

namespace {

void SendMouse(DWORD flags, POINT point) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = point.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = point.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof input);
}

} // namespace

void MouseTo(POINT point) {
    SendMouse(0, point);
}

// The position goes with the button, so the press lands where it is meant to even when the
// pointer's last move has not been taken yet.
void MouseButton(bool down, POINT at) {
    SendMouse(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP, at);
}

namespace {

struct Search {
    int id;
    HWND found;
};

BOOL CALLBACK FindById(HWND child, LPARAM search) {
    auto* s = reinterpret_cast<Search*>(search);
    if (::GetDlgCtrlID(child) != s->id) return TRUE;
    s->found = child;
    return FALSE;
}

} // namespace

HWND FindDescendant(HWND window, int id) {
    Search search = {id, nullptr};
    ::EnumChildWindows(window, &FindById, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The name field is a combo box's edit (1148) in the explorer style, or a plain edit (1152).
void ConfirmFileName(HWND dialog, const std::wstring& name) {
    HWND field = FindDescendant(dialog, 1148);
    if (field == nullptr) field = FindDescendant(dialog, 1152);
    ::SetWindowTextW(field, name.c_str());
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

} // namespace guitest
