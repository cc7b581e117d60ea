#include "dockdialog_win32.h"

#include "dockdialog_rc.h"

CDockDialog::CDockDialog(void* parent) : CMyDialog(IDD_CHAT_FRAME, nullptr, parent) {}

LRESULT CDockDialog::OnClose() {
    if (m_hosted != nullptr) ::SendMessageW(m_hosted, WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CDockDialog::OnMove(int x, int y) {
    ReportMove(0);
    return CMyDialog::OnMove(x, y);
}

// A double click on the caption docks the hosted window again.
LRESULT CDockDialog::OnNCLButtonDblClk(WPARAM hit, int x, int y) {
    if (m_hosted != nullptr) ::SendMessageW(m_hosted, WM_LBUTTONDBLCLK, 0, 0);
    return CMyDialog::OnNCLButtonDblClk(hit, x, y);
}

LRESULT CDockDialog::OnNCLButtonDown(WPARAM hit, int, int) {
    m_pressed = hit == HTCAPTION;
    return 0;
}

LRESULT CDockDialog::OnExitSizeMove() {
    ReportMove(1);
    m_pressed = false;
    return 0;
}

LRESULT CDockDialog::OnInitDialog() {
    GetWindowRect(&m_rect);
    return 1;
}

void CDockDialog::ReportMove(WORD notification) {
    if (m_moveCommand != 0 && m_hParent != nullptr)
        ::SendMessageW(m_hParent, WM_COMMAND, MAKEWPARAM(m_moveCommand, notification),
                       reinterpret_cast<LPARAM>(m_hWnd));
}
