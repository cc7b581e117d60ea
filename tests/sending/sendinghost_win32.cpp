#include "sendinghost_win32.h"

namespace sendingtest {

CHostWindow::CHostWindow(CChatDialog* chat) : CMyWindow("SendingTestHost"), m_chat(chat) {
    RECT rect = {40, 40, 760, 520};
    Create("Terminál", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, nullptr, 0, 0, 0, &rect);
}

CHostWindow::~CHostWindow() = default;

LRESULT CHostWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    const unsigned id = LOWORD(wParam);
    if (m_chat != nullptr && id == kChatModeCommand) {
        ++chatClosed;
        m_chat->CloseModelessDialog();
        return 0;
    }
    if (m_chat != nullptr && id == kFrameMoveCommand) {
        dockFrames.push_back(m_chat->TrackFrameMove(HIWORD(wParam) == 1));
        return 0;
    }
    forwarded.push_back(id);
    return CMyWindow::OnCommand(wParam, lParam);
}

LRESULT CHostWindow::OnSize(WPARAM, unsigned short width, unsigned short height) {
    const int docked = m_chat != nullptr ? m_chat->GetDockedHeight() : 0;
    if (docked > 0)
        m_chat->SetWindowPos(nullptr, 0, height - docked, width, docked,
                             SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

LRESULT CHostWindow::OnVScroll(unsigned short code, unsigned short pos, void*) {
    if (code == 0xFFFF) {
        ++cursorRequests;
        lastCursorRow = pos;
    }
    return 0;
}

} // namespace sendingtest
