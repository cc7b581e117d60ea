// The upload progress dialog: runs the write and confirmation threads while it is shown,
// shows the lines sent, grows to say so when no line has gone out for 5 s, and ends when
// every line was confirmed (1) or the user cancels (2). The threads reach it through its
// notify window, so every handler runs on the dialog's own thread.
#pragma once

#include "dialog.h"
#include "loadingnotifywindow_win32.h"
#include "uploadthreads.h"

#include <cstdint>

class CComm;
class CMyFile;

class CLoadDialog : public CMyDialog {
public:
    // Results; ILoadingNotify::kDeviceLost when the port's device went.
    enum : int32_t { kUploaded = 1, kCancelled = 2 };
    static constexpr int kNoConfirmationGrowth = 35;

    explicit CLoadDialog(void* owner);
    ~CLoadDialog() override;

    // False when the events could not be made.
    bool IsValid() const { return m_threads.IsValid(); }
    void SetPort(CComm* port) { m_port = port; }
    void SetFile(CMyFile* file) { m_file = file; }

    // Shows the dialog; returns once both threads have ended too, so that the read thread
    // never reads beside them.
    INT_PTR ShowModalDialog() override;

    // Where the progress bar stood when the dialog closed, and its upper limit.
    int GetFinalPosition() const { return m_finalPosition; }
    int GetProgressLimit() const { return m_progressLimit; }

    LRESULT OnClose() override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDestroy() override;
    LRESULT OnInitDialog() override;
    LRESULT OnTimer(WPARAM id, TIMERPROC procedure) override;

private:
    void SetTexts();
    void AllLinesSent(int sent);
    void LineSent();
    void ReportError(int code);
    void StartTimer(const CLoadingNotifyWindow::TimerRequest* request);
    void StopTimer(const CLoadingNotifyWindow::TimerRequest* request);
    void Cancel();
    void Finish(int32_t result);
    void Grow(int by);

    CUploadThreads m_threads;
    CComm* m_port = nullptr;
    CMyFile* m_file = nullptr;
    int m_expanded = 0;
    CLoadingNotifyWindow m_notify;
    bool m_ending = false;
    int m_finalPosition = 0;
    int m_progressLimit = 0;
};
