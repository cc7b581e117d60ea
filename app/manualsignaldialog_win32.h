// Manual control of the port's lines: RTS, DTR and TXD (held as a break) set by hand while CTS,
// DSR and carrier detect are shown, refreshed every 100 ms, every change flashing green.
#pragma once

#include "coloredtext.h"
#include "dialog.h"
#include "mythread.h"
#include "signalstate.h"

class CReadThread;
class CTarlinData;

// Asks the dialog to refresh every 100 ms for as long as its window exists.
// Context word 1: the dialog's window.
class CManualSignalThread : public CMyThread {
public:
    CManualSignalThread() : CMyThread(&ThreadFunction) {}
    static int32_t TARLIN_THREAD_CALL ThreadFunction(MyThreadContext* context);
    // Wakes the thread so that it notices a closed window at once.
    static void Wake();
};

class CManualSignalDialog : public CMyDialog {
public:
    // The command the refresh thread posts.
    static const unsigned kRefreshCommand = 32863;

    explicit CManualSignalDialog(void* parent = nullptr);
    ~CManualSignalDialog() override;

    void SetAppData(CTarlinData* data) { m_data = data; }
    const CSignalState& GetState() const { return m_state; }

    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDestroy() override;
    LRESULT OnInitDialog() override;
    LRESULT OnTimer(WPARAM id, TIMERPROC procedure) override;
    LRESULT OnMyColoredTextGetTextParam(WPARAM id, MY_COLORED_TEXT_STRUCT* parameters) override;

private:
    struct Output {
        unsigned zero;
        unsigned one;
        unsigned toggle;
    };

    void SetTexts();
    void CreateValueDisplays();
    void LowerOutputs();
    void Toggle(const Output& output);
    void ApplyOutputs();
    bool Refresh();
    void UpdateButtonTexts();
    void Repaint(unsigned lines);
    void StartFade();
    void StopThread();
    int RadioState(const Output& output) { return IsDlgButtonChecked(output.one) == BST_CHECKED; }

    CTarlinData* m_data = nullptr;
    CSignalState m_state;
    int m_timerId = -1;
    CMyColoredText m_values[6];
    CManualSignalThread m_thread;
};

// Command "Manuální nastavení signálů": the dialog runs modally while the read thread is parked,
// so that only the dialog reads the port's lines.
INT_PTR RunManualSignalDialog(HWND owner, CTarlinData& data, CReadThread& readThread);
