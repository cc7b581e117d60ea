// The loading threads' calls turned into the window messages of their dialog: the commands
// and progress-bar messages the dialogs know, and a few commands of our own for what must
// run on the dialog's thread (ending it, a warning box, its timers). Every call is sent, so
// the dialog's handler has run when the call returns; once the dialog is ending the calls
// go nowhere.
#pragma once

#include "loadingnotify.h"

#include <windows.h>

#include <atomic>

class CLoadingNotifyWindow : public ILoadingNotify {
public:
    // Commands of our own; lParam as noted.
    enum : unsigned {
        kCommandEnd = 32890,        // the result
        kCommandWarn = 32891,       // the text (cp1250)
        kCommandStartTimer = 32892, // a TimerRequest
        kCommandKillTimer = 32893,  // a TimerRequest
    };
    struct TimerRequest {
        unsigned id;
        unsigned ms;
    };

    // window: the dialog, or null while there is none.
    void SetWindow(HWND window) { m_window.store(window); }
    HWND GetWindow() const { return m_window.load(); }

    void BytesReceived(const char* chunk, int count) override;
    void Error(int code) override;
    void Warn(const char* text) override;
    bool SetProgressRange(int high) override;
    void SetProgressPosition(int position, bool post) override;
    void LineSent() override;
    void AllLinesSent(int sent) override;
    void StartTimer(unsigned id, unsigned ms) override;
    void KillTimer(unsigned id) override;
    void EndDialog(int32_t result) override;
    void DeviceLost() override;

private:
    LRESULT Send(unsigned command, unsigned high, LPARAM lParam);
    HWND ProgressBar() const;

    std::atomic<HWND> m_window{nullptr};
};
