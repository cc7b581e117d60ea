// CMainView::ConnectAndIdentify: port setting (from the command line or the port-settings
// dialog), the initial text, then the power cycle that recognises the module.
#include "connectidentify_win32.h"

#include "identify.h"
#include "initdialog_win32.h"
#include "mainview_win32.h"
#include "startdialog_win32.h"
#include "tarlin_rc.h"
#include "tarlindata.h"

#include <cstring>

namespace {

// The pause between closing the port and opening it again from the command line.
const DWORD kReopenPauseMs = 200;

} // namespace

ConnectLetters ParseConnectLetters(const char* letters) {
    ConnectLetters parsed;
    if (letters == nullptr) return parsed;
    parsed.skipSettingsDialog = std::strchr(letters, 'c') != nullptr;
    parsed.skipPowerCycle = std::strchr(letters, 'r') != nullptr;
    return parsed;
}

int CMainView::ConnectAndIdentify(bool useCommandLine, bool withoutOwner, const char* letters,
                                  bool fileFollows) {
    if (m_data == nullptr) return kConnectCancelled;
    bool askForSetting = !(useCommandLine && m_data->IsPresent(CTarlinCmdLine::kPort));
    ConnectLetters options = ParseConnectLetters(letters);
    SuspendReadThread();
    HWND owner = withoutOwner ? nullptr : m_hWnd;
    CInitDialog settings(owner);
    settings.Create("Tarlin - nastavení portu", 0, owner, 0, 0, 0, nullptr);
    CStartDialog powerCycle(owner);
    powerCycle.Create("Tarlin - zapnutí a vypnutí modulu", 0, owner, 0, IDI_TARLIN,
                      IDI_TARLIN_SMALL, nullptr);
    int result = kConnectCancelled;
    for (;;) {
        settings.SetPort(&m_data->GetPort());
        if (!askForSetting) {
            m_data->ClosePort();
            ::Sleep(kReopenPauseMs); // the device settles before it is opened again
            if (m_data->ApplyPortSwitch() != 1) {
                askForSetting = true;
                options.skipSettingsDialog = false;
            }
        }
        if (askForSetting && !options.skipSettingsDialog && settings.ShowModalDialog() != 1) {
            result = kConnectCancelled;
            break;
        }
        m_data->SendInitialTextSwitch();
        if (options.skipPowerCycle) {
            result = kConnectedWithoutModule;
            break;
        }
        result = RunPowerCycleDialog(powerCycle, fileFollows);
        if (result > 0) ModuleReady(result);
        if (result >= 0 || result == kConnectCancelled) break;
        if (result == kConnectBackToPortSettings) options.skipSettingsDialog = false;
        m_data->ResetPort();
        askForSetting = true;
    }
    return result;
}

void CMainView::ModuleReady(int) {
    const char* version = CIdentifyState::Process().GetText();
    ShowConnected();
    m_statusbar.SetText(3, version);
    CStdBuffer& buffer = m_data->GetBuffer();
    {
        CStdBufferHold hold(buffer);
        for (const char* c = version; *c != 0; ++c)
            buffer.PutChar(static_cast<unsigned char>(*c), true, 0);
        for (const char* c = "\n\r(Tarlin: modul připraven k nahrání souboru)\n\r\n\r"; *c != 0;
             ++c)
            buffer.PutChar(static_cast<unsigned char>(*c), true, 0);
    }
    ScrollViewToCursor();
    RefreshStatus(false);
}
