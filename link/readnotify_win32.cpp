#include "readnotify.h"

#include <windows.h>

void CReadNotifyWindow::PortGone() {
    SendMessageW(static_cast<HWND>(m_window), WM_COMMAND, kDisconnectCommand, 0);
}

void CReadNotifyWindow::FollowCursor(int row) {
    SendMessageW(static_cast<HWND>(m_window), WM_VSCROLL,
                 MAKEWPARAM(kFollowCursorCode, static_cast<WORD>(row)), 0);
}
