// The words the upload threads and the progress dialog share: plain flags with one writer
// each, polled by the threads at least once a second.
#pragma once

#include <atomic>
#include <cstdint>

class ILoadingNotify;

class CUploadState {
public:
    CUploadState();
    CUploadState(const CUploadState&) = delete;
    CUploadState& operator=(const CUploadState&) = delete;

    // The dialog's side.
    // "Storno" or Esc: both threads stop.
    void Cancel();
    // Command 1 from the write thread: the count to check, or stop listening when nothing
    // was sent.
    void AllLinesSent(int32_t sent);

    // The threads' side, each cleared as its thread starts.
    void StartWriting(ILoadingNotify* dialog);
    void StartConfirming(ILoadingNotify* dialog);
    bool WriteStopped() const { return m_writeStop.load() != 0; }
    bool ConfirmDone() const { return m_confirmDone.load() != 0; }
    // 0 until the write thread has reported its count.
    int32_t ExpectedConfirmations() const { return m_expected.load(); }
    ILoadingNotify* Dialog() const { return m_dialog.load(); }
    // Lines the write thread has put on the line so far.
    void LineWritten() { m_linesWritten.fetch_add(1); }
    int32_t LinesWritten() const { return m_linesWritten.load(); }
    // The port's device has gone: both threads stop, and the first thread to see it tells
    // the dialog and ends it (ILoadingNotify::DeviceLost, EndDialog(kDeviceLost)).
    void ReportDeviceLost();
    bool DeviceLost() const { return m_deviceLost.load() != 0; }

    // The one state of the process.
    static CUploadState& Process();

private:
    std::atomic<int32_t> m_writeStop;
    std::atomic<int32_t> m_confirmDone;
    std::atomic<int32_t> m_expected;
    std::atomic<ILoadingNotify*> m_dialog;
    std::atomic<int32_t> m_linesWritten;
    std::atomic<int32_t> m_deviceLost;
};
