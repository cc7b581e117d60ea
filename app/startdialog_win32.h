// The power-cycle dialog: asks for the module to be switched off and on while the
// identification thread listens, shows what arrives, and lets the user skip, cancel or go
// back to the port settings. The thread reaches it through its notify window, so every
// handler runs on the dialog's own thread.
#pragma once

#include "coloredtext.h"
#include "dialog.h"
#include "inifile.h"
#include "iniversionlist.h"
#include "loadingnotifywindow_win32.h"
#include "startthread.h"

#include <cstdint>

class CComm;
class CTarlinData;

class CStartDialog : public CMyDialog {
public:
    // Results besides a version index (>= 1).
    enum : int32_t { kSkipped = 0, kBackToPortSettings = -50, kCancelled = -110 };
    // How long leaving by a button waits for the thread before the dialog closes.
    static constexpr uint32_t kLeaveWaitMs = 200;
    static constexpr unsigned kSlowHintMs = 10000;
    static constexpr int kSlowHintGrowth = 60;

    explicit CStartDialog(void* owner);
    ~CStartDialog() override;

    // The port, and the texts of the file hint and the status bar; fileFollows: the file is
    // chosen after the power cycle.
    void Prepare(CTarlinData* data, bool fileFollows);
    int OpenVersionFile(const char* directory, const char* name);
    // The version text after the dialog ended with a version index.
    const char* GetVersionText();

    // Shows the dialog; returns once its identification thread has ended too, so that the
    // next reader of the port never overlaps it. kDeviceLost when the port's device went.
    INT_PTR ShowModalDialog() override;

    LRESULT OnClose() override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnHelp(HELPINFO* help) override;
    LRESULT OnInitDialog() override;
    LRESULT OnMyColoredTextGetTextParam(WPARAM id, MY_COLORED_TEXT_STRUCT* parameters) override;
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnSize(WPARAM type, unsigned short width, unsigned short height) override;
    LRESULT OnTimer(WPARAM id, TIMERPROC procedure) override;

    // The status line's text for a code the thread reported.
    static const char* StatusText(int code);

private:
    void StartThread();
    void SetTexts();
    void CreateColoredTexts();
    void CreateStatusBar();
    void AddReceived(int count);
    void ShowStatus(int code);
    void ShowSlowHint();
    void ShowInformation();
    void Warn(const char* text);
    // A button or the thread's loss of the port: the thread is told to stop first.
    void Leave(int32_t result);
    // The thread's own end (a version, or the port gone).
    void Finish(int32_t result);

    CMyIniFile m_versions;
    CIniVersionList m_versionList{m_versions};
    CStartThread m_thread;
    CMyColoredText m_headline;
    CMyColoredText m_status;
    CMyColoredText m_fileHint;
    CDynString m_portText;
    CDynString m_fileText;
    int m_received = 0;
    HWND m_statusBar = nullptr;
    int m_fileKnown = 0;
    unsigned m_timer = 0;
    CComm* m_port = nullptr;
    CLoadingNotifyWindow m_notify;
    bool m_ending = false;
    wchar_t m_tipText[512] = {};
};
