// What the identification and upload threads tell their dialog. Every call comes from a
// worker thread and is synchronous unless it says otherwise; on Windows the power-cycle and
// progress dialogs answer it with the window messages named below, the tests record it.
#pragma once

#include <cstdint>

class ILoadingNotify {
public:
    // WM_COMMAND identifiers of the notifications.
    enum : unsigned {
        kCommandAllLinesSent = 1,
        kCommandLineSent = 32785,
        kCommandBytesReceived = 32828,
        kCommandError = 32830,
    };
    // The progress bar's control id.
    static constexpr unsigned kProgressBar = 32785;
    // The dialog's result when the port's device has gone: neither a version nor success.
    // The same number as the port's "device gone" read count.
    static constexpr int32_t kDeviceLost = -2;

    virtual ~ILoadingNotify() = default;

    // Identification thread to the power-cycle dialog.
    // Command 32828, high word the count, lParam the chunk.
    virtual void BytesReceived(const char* chunk, int count) = 0;
    // Command 32830 with the code (a line error, -9 or -8) in the high word.
    virtual void Error(int code) = 0;
    // A warning box titled " Tarlin " owned by the dialog; returns once it is dismissed.
    virtual void Warn(const char* text) = 0;

    // Upload threads to the progress dialog.
    // PBM_SETRANGE 0 ... high; false when the dialog has no progress bar.
    virtual bool SetProgressRange(int high) = 0;
    // PBM_SETPOS: sent when post is false, posted (the caller does not wait) when true.
    virtual void SetProgressPosition(int position, bool post) = 0;
    // Command 32785: a line went out.
    virtual void LineSent() = 0;
    // Command 1 with the number of lines sent: the write thread has finished.
    virtual void AllLinesSent(int sent) = 0;
    // The dialog's no-confirmation timer; starting a started one re-arms it. A window's
    // timers belong to its own thread, so the dialog sets them itself when asked.
    virtual void StartTimer(unsigned id, unsigned ms) = 0;
    virtual void KillTimer(unsigned id) = 0;

    // Both: ends the dialog with a result.
    virtual void EndDialog(int32_t result) = 0;
    // Both: the port's device has disappeared (a USB adapter pulled out). The thread that saw
    // it calls this once per dialog, then EndDialog(kDeviceLost), and ends; the dialog tells
    // the user. On Windows: command 32830 with kDeviceLost (-2) in the high word, sent.
    virtual void DeviceLost() = 0;
};
