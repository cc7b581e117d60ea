#include "readnotifywindow_win32.h"

#include <windows.h>

void CReadNotifyWindow::PortGone() {
    PostMessageW(static_cast<HWND>(m_window), WM_COMMAND, kDisconnectCommand, 0);
}

void CReadNotifyWindow::FollowCursor(int row) {
    const uint32_t now = static_cast<uint32_t>(GetTickCount());
    if (row == m_lastRow && now - m_lastPostMs < kRepeatRowMs) return;
    if (PostMessageW(static_cast<HWND>(m_window), WM_VSCROLL,
                     MAKEWPARAM(kFollowCursorCode, static_cast<WORD>(row)), 0)) {
        m_lastRow = row;
        m_lastPostMs = now;
    }
}
