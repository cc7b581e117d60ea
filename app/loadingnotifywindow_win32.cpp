#include "loadingnotifywindow_win32.h"

#include <commctrl.h>

LRESULT CLoadingNotifyWindow::Send(unsigned command, unsigned high, LPARAM lParam) {
    HWND window = m_window.load();
    if (window == nullptr) return 0;
    return ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(command, high), lParam);
}

HWND CLoadingNotifyWindow::ProgressBar() const {
    HWND window = m_window.load();
    return window != nullptr ? ::GetDlgItem(window, static_cast<int>(kProgressBar)) : nullptr;
}

void CLoadingNotifyWindow::BytesReceived(const char* chunk, int count) {
    Send(kCommandBytesReceived, static_cast<unsigned>(count) & 0xFFFF,
         reinterpret_cast<LPARAM>(chunk));
}

void CLoadingNotifyWindow::Error(int code) {
    Send(kCommandError, static_cast<unsigned>(code) & 0xFFFF, 0);
}

void CLoadingNotifyWindow::Warn(const char* text) {
    Send(kCommandWarn, 0, reinterpret_cast<LPARAM>(text));
}

// The range is 32 bits wide: a module file of more than 65,535 lines still fills the bar
// exactly once.
bool CLoadingNotifyWindow::SetProgressRange(int high) {
    HWND bar = ProgressBar();
    if (bar == nullptr) return false;
    ::SendMessageW(bar, PBM_SETRANGE32, 0, high);
    return true;
}

void CLoadingNotifyWindow::SetProgressPosition(int position, bool post) {
    HWND bar = ProgressBar();
    if (bar == nullptr) return;
    if (post)
        ::PostMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    else
        ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void CLoadingNotifyWindow::LineSent() {
    Send(kCommandLineSent, 0, 0);
}

void CLoadingNotifyWindow::AllLinesSent(int sent) {
    Send(kCommandAllLinesSent, 0, sent);
}

void CLoadingNotifyWindow::StartTimer(unsigned id, unsigned ms) {
    TimerRequest request{id, ms};
    Send(kCommandStartTimer, 0, reinterpret_cast<LPARAM>(&request));
}

void CLoadingNotifyWindow::KillTimer(unsigned id) {
    TimerRequest request{id, 0};
    Send(kCommandKillTimer, 0, reinterpret_cast<LPARAM>(&request));
}

void CLoadingNotifyWindow::EndDialog(int32_t result) {
    Send(kCommandEnd, 0, static_cast<LPARAM>(result));
}

void CLoadingNotifyWindow::DeviceLost() {
    Send(kCommandError, static_cast<unsigned>(kDeviceLost) & 0xFFFF, 0);
}
