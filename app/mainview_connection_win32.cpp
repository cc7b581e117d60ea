// Connecting, renewing and disconnecting, the status bar's connection field and the tool
// bar's port lists.
#include "mainview_win32.h"

#include "clearquestiondialog_win32.h"
#include "clearquestion_rc.h"
#include "infodialog_win32.h"
#include "portsetting.h"
#include "tarlin_rc.h"
#include "tarlindata.h"

#include <cstdio>
#include <cwchar>

namespace {

const char kConnected[] = "Připojen:";
const char kDisconnected[] = "Odpojen";
const int kConnectionField = 2;
const int kModuleField = 3;

// Results after which the port is closed again.
bool ClosesPort(int result) {
    return result == -110 || result == -40 || result == -30 || result == -20 || result == -10;
}

} // namespace

void CMainView::Connect() {
    if (m_data == nullptr) return;
    if (m_data->IsPortOpen() != 1) m_data->ReopenPort();
    CDynString letters(m_data->GetParameter(CTarlinCmdLine::kWithout, 1));
    const int result = ConnectAndIdentify(false, false, letters.GetString(), false);
    AfterConnecting(result);
}

void CMainView::Renew() {
    if (m_data == nullptr) return;
    if (m_data->IsPortOpen() != 1) m_data->ReopenPort();
    CDynString letters(m_data->GetParameter(CTarlinCmdLine::kWithout, 1));
    const int result = ConnectAndIdentify(true, false, letters.GetString(), false);
    AfterConnecting(result);
}

void CMainView::AfterConnecting(int result) {
    if (result == 0) {
        ShowConnected();
        SetPattern(Pattern::kNoModule);
        ResumeReadThread();
        RefreshStatus(false);
    } else if (ClosesPort(result)) {
        m_data->ClosePort();
        SetPattern(Pattern::kDisconnected);
        ShowDisconnected();
        RefreshStatus(false);
    } else {
        // A module waits for its file: the read thread stays parked until the upload.
        SetPattern(Pattern::kConnected);
    }
}

// The read thread is parked before the port closes, so it never reads a closed port.
void CMainView::Disconnect(bool ask) {
    if (m_data == nullptr) return;
    if (m_data->IsPortOpen() == 1) {
        SuspendReadThread();
        m_data->ClosePort();
        DecideAboutScreen(ask);
    }
    m_data->CloseModuleFile();
    if (m_data->GetChatMode() == 1) ToggleChatMode();
    SuspendReadThread();
    SetPattern(Pattern::kDisconnected);
    ShowDisconnected();
    // The port lists go gray with the port: a setting chosen now would find no port.
    RefreshStatus(false);
}

void CMainView::DecideAboutScreen(bool ask) {
    if (m_data->GetBuffer().WasCleared() || !ask || m_data->GetAlwaysClear() == 1) {
        m_data->ClearScreen();
        return;
    }
    if (m_data->GetAlwaysWithoutClear() == 1) return;
    CClearQuestionDialog question(m_hWnd);
    question.Create(" Tarlin ", 0, m_hWnd, 0, 0, 0, nullptr);
    switch (question.ShowModalDialog()) {
    case IDC_CLEAR_ALWAYS:
        m_data->SetAlwaysClear();
        m_data->ClearScreen();
        break;
    case IDC_CLEAR_NEVER: m_data->SetAlwaysWithoutClear(); break;
    case IDC_CLEAR_YES: m_data->ClearScreen(); break;
    default: break;
    }
}

void CMainView::ShowConnected() {
    CComm& port = m_data->GetPort();
    PortSetting setting{};
    CDynString name(port.GetPortName());
    std::snprintf(setting.portName, sizeof setting.portName, "%s", name.GetString());
    setting.baudRate = port.GetBaudRate();
    setting.byteSize = port.GetByteSize();
    setting.parity = port.GetParity();
    m_statusbar.SetText(kConnectionField, kConnected);
    CDynString text;
    if (FormatPortSettingForStatusBar(text, setting))
        m_statusbar.AppendText(kConnectionField, text.GetString(), true);
    m_statusbar.SetIcon(kConnectionField, GetSafeInstance(), IDI_CONNECTED);
}

void CMainView::ShowDisconnected() {
    m_statusbar.SetText(kConnectionField, kDisconnected);
    m_statusbar.SetText(kModuleField, "");
    m_statusbar.SetIcon(kConnectionField, GetSafeInstance(), IDI_DISCONNECTED);
}

void CMainView::RefreshStatus(bool announce) {
    if (m_data == nullptr) return;
    if (m_data->IsPortOpen() != 1) {
        m_toolbar.EnableLists(false);
        return;
    }
    CComm& port = m_data->GetPort();
    m_toolbar.EnableLists(true);
    m_toolbar.SelectPortSetting(port.GetBaudRate(), port.GetByteSize(), port.GetParity());
    ShowConnected();
    if (!announce) return;
    CDynString setting;
    FormatPortSetting(setting, port.GetPortName(), port.GetBaudRate(), port.GetByteSize(),
                      port.GetParity());
    CDynString text;
    text.Format("\n\r(Tarlin: nové nastavení portu %s)\n\r", setting.GetString());
    Announce(text.GetString(), CStdBuffer::kAnnounceAttribute);
}

// Announcements are the program's own text: never hex-dumped, never escape sequences.
void CMainView::Announce(const char* text, unsigned char attribute) {
    CStdBuffer& buffer = m_data->GetBuffer();
    {
        CStdBufferHold hold(buffer);
        buffer.SetAttribute(attribute);
        for (const char* c = text; *c != 0; ++c)
            buffer.PutChar(static_cast<unsigned char>(*c), true, 0);
        buffer.SetAttribute(CStdBuffer::kDefaultAttribute);
    }
    ScrollViewToCursor();
}

void CMainView::ScrollViewToCursor() {
    if (m_data == nullptr || m_view.GetSafeHandle() == nullptr) return;
    m_view.SendMessageA(WM_VSCROLL, MAKEWPARAM(0xFFFF, static_cast<WORD>(m_data->GetCurrentLine())),
                        0);
}

void CMainView::ResumeReadThread() {
    if (!m_readThreadStopped) m_readThread.RequestResume();
}

// Only a thread that still runs can acknowledge; asking one that ended would wait in vain.
void CMainView::SuspendReadThread() {
    if (m_readThreadStopped || !m_readThread.HasThread() || m_readThread.Wait(0, nullptr)) return;
    m_readThread.RequestSuspend();
}

void CMainView::ChangePortSetting(unsigned int list, unsigned int notification) {
    if (notification != CBN_SELCHANGE || m_data == nullptr) return;
    HWND control = m_toolbar.GetList(list);
    const LRESULT index = ::SendMessageW(control, CB_GETCURSEL, 0, 0);
    if (control == nullptr || index == CB_ERR) return;
    int32_t result = CComm::kRefused;
    if (list == IDC_PARITY_LIST) {
        result = m_data->SetParity(static_cast<int>(index));
    } else {
        wchar_t text[33] = {};
        ::SendMessageW(control, CB_GETLBTEXT, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(text));
        const int value = static_cast<int>(std::wcstol(text, nullptr, 10));
        result = list == IDC_BAUD_LIST ? m_data->SetBaudRate(value) : m_data->SetByteSize(value);
    }
    const bool applied = result == CComm::kOk;
    if (!applied)
        Announce("\n\r(Tarlin: tento parametr se nepodařilo nastavit)\n\r",
                 CStdBuffer::kErrorAttribute);
    RefreshStatus(applied);
}

void CMainView::ShowConnectionInfo() {
    if (m_data == nullptr) return;
    CInfoDialog info(m_hWnd);
    info.SetPort(&m_data->GetPort());
    info.Create("Informace o připojení", 0, m_hWnd, 0, 0, 0, nullptr);
    info.ShowModalDialog();
    SetFocus();
}
