#include "dialogdriver_win32.h"

namespace guitest {
namespace {

CDialogDriver* g_driver = nullptr;

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

CDialogDriver::CDialogDriver(const std::wstring& title, std::function<void(HWND)> handler)
    : m_title(title), m_handler(std::move(handler)) {
    g_driver = this;
    m_timer = ::SetTimer(nullptr, 0, 100, &Tick);
}

CDialogDriver::~CDialogDriver() {
    ::KillTimer(nullptr, m_timer);
    if (g_driver == this) g_driver = nullptr;
}

std::function<void(HWND)> CDialogDriver::Press(int id) {
    return [id](HWND window) { ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
}

BOOL CALLBACK CDialogDriver::Match(HWND window, LPARAM self) {
    auto* driver = reinterpret_cast<CDialogDriver*>(self);
    wchar_t title[256] = {};
    ::GetWindowTextW(window, title, 256);
    if (!::IsWindowVisible(window) || driver->m_title != title) return TRUE;
    driver->m_seen = true;
    driver->m_text = StaticTexts(window);
    driver->m_handler(window);
    return FALSE;
}

void CALLBACK CDialogDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_driver == nullptr || g_driver->m_seen) return;
    ::EnumThreadWindows(::GetCurrentThreadId(), &Match, reinterpret_cast<LPARAM>(g_driver));
}

} // namespace guitest
