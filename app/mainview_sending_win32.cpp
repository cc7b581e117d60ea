// Chat mode, sending a file or the clipboard, and the manual signal control.
#include "mainview_win32.h"

#include "chatdialog_rc.h"
#include "contentsend_win32.h"
#include "help_win32.h"
#include "manualsignaldialog_win32.h"
#include "tarlin_rc.h"
#include "tarlindata.h"

// Commands whose keys and menu must still work while the chat line has the focus.
void CMainView::PrepareChat() {
    ChatCommandIds ids;
    ids.chatMode = IDM_CHAT_MODE;
    ids.frameMove = IDM_CHAT_DOCKING;
    ids.forwarded = {IDM_CHAT_MODE, IDM_ANSI_ES,     IDM_CLEAR_SCREEN, IDM_HEX_OUTPUT,
                     IDM_VANTOR_ES, IDM_AUTO_SCROLL, IDM_ECHO};
    m_chat.SetCommands(ids);
    m_chat.SetHelp([this](HWND owner) {
        if (m_data != nullptr) OpenHelp(owner, m_data->GetPath(), kHelpChat);
    });
}

// ChatMode follows the window: 1 exactly while the chat line is open.
void CMainView::ToggleChatMode() {
    if (m_data == nullptr) return;
    if (GetChatWindow() != nullptr) {
        m_chat.CloseModelessDialog();
        Layout();
        SetFocus();
    } else {
        OpenChat();
    }
    const int open = GetChatWindow() != nullptr ? 1 : 0;
    if (m_data->GetChatMode() != open) m_data->ToggleChatMode();
    CheckCommand(IDM_CHAT_MODE, open == 1);
    m_toolbar.PressButton(IDM_CHAT_MODE, open == 1);
}

void CMainView::OpenChat() {
    m_sendingData.Bind(m_data);
    m_chat.SetData(&m_sendingData);
    m_chat.SetMainWindow(m_hWnd);
    m_chat.Create("Chat mode:", 0, m_hWnd, 0, 0, 0, nullptr);
    if (m_chat.Show(SW_SHOW) != 1) return;
    m_chat.SetDialogItemFocus(IDC_CHAT_TEXT);
    Layout();
}

// At start: "-cm" on the command line, or chat mode open when the program last ended.
void CMainView::OpenChatAtStart() {
    if (m_data == nullptr || GetChatWindow() != nullptr) return;
    if (m_data->IsPresent(CTarlinCmdLine::kChatMode) || m_data->IsChatWantedAtStart())
        ToggleChatMode();
}

HWND CMainView::GetChatWindow() const {
    HWND chat = m_chat.GetSafeHandle();
    return chat != nullptr && ::IsWindow(chat) ? chat : nullptr;
}

int CMainView::DockedChatHeight() const {
    return m_chat.GetDockedHeight();
}

// The docked line sits right below the view, as wide as the view.
void CMainView::PlaceDockedChat() {
    const int height = DockedChatHeight();
    RECT view;
    if (height <= 0 || !m_view.GetClientRect(&view)) return;
    RECT outer;
    m_view.GetWindowRect(&outer);
    ::SetWindowPos(m_chat.GetSafeHandle(), nullptr, 0,
                   m_toolbar.GetLayoutHeight() + (outer.bottom - outer.top),
                   outer.right - outer.left, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The floating frame reports its moves: the view shows where the line would dock.
void CMainView::DockChat(WPARAM wParam) {
    m_view.ShowDockFrame(m_chat.TrackFrameMove(HIWORD(wParam) == 1));
}

void CMainView::SendFileContent() {
    if (m_data == nullptr) return;
    m_sendingData.Bind(m_data);
    ::SendFileContent(m_hWnd, m_sendingData, m_workText.GetCapacity());
}

void CMainView::SendClipboard() {
    if (m_data == nullptr) return;
    m_sendingData.Bind(m_data);
    SendClipboardText(m_hWnd, m_sendingData);
}

void CMainView::ShowManualSignals() {
    if (m_data != nullptr) RunManualSignalDialog(m_hWnd, *m_data, m_readThread);
    SetFocus();
}

void CMainView::ClearChatHistory() {
    m_chat.ClearHistory();
}

// The texts kept for the chat line go too, whether or not chat mode is open.
void CMainView::ClearChatTexts() {
    if (m_data == nullptr) return;
    if (m_data->GetChatMode() == 1) ClearChatHistory();
    m_data->ClearChatFile();
}
