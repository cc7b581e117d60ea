// Chat mode, sending a file or the clipboard, and the manual signal control. The chat
// dialog, the senders and the signal dialog come later; until then their commands do
// nothing and chat mode never opens.
#include "mainview_win32.h"

#include "tarlindata.h"

void CMainView::ToggleChatMode() {}

HWND CMainView::GetChatWindow() const {
    return nullptr;
}

int CMainView::DockedChatHeight() const {
    return 0;
}

void CMainView::PlaceDockedChat() {}

void CMainView::DockChat(WPARAM) {}

void CMainView::SendFileContent() {}

void CMainView::SendClipboard() {}

void CMainView::ShowManualSignals() {}

void CMainView::ClearChatHistory() {}

// The texts kept for the chat line go too, whether or not chat mode is open.
void CMainView::ClearChatTexts() {
    if (m_data == nullptr) return;
    if (m_data->GetChatMode() == 1) ClearChatHistory();
    m_data->ClearChatFile();
}
