// Saving and printing the screen, and the shortcuts.
#include "mainview_win32.h"

#include "offlinelinkdialog_win32.h"
#include "screenfile_win32.h"
#include "screenprinter_win32.h"
#include "tarlindata.h"

void CMainView::SaveScreen() {
    if (m_data != nullptr) ::SaveScreen(m_hWnd, *m_data);
}

void CMainView::SaveScreenAs() {
    if (m_data != nullptr) ::SaveScreenAs(m_hWnd, *m_data);
}

void CMainView::PrintScreen() {
    if (m_data == nullptr) return;
    CScreenPrinter printer(m_hWnd, m_data->GetBuffer(), m_printFont);
    printer.Print();
}

void CMainView::CreateCurrentShortcut() {
    if (m_data != nullptr) ::CreateCurrentShortcut(m_hWnd, *m_data, m_shortcutDialog);
}

// The builder and the current shortcut keep one icon choice for the whole run.
void CMainView::ShowShortcutBuilder() {
    if (m_data != nullptr) RunShortcutBuilder(m_hWnd, *m_data, m_shortcutDialog.GetIconChoice());
}

void CMainView::OfferShortcutForNewFile() {
    if (m_data != nullptr) ::OfferShortcutForNewFile(m_hWnd, *m_data, m_shortcutDialog);
}
