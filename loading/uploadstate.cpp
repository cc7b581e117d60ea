#include "uploadstate.h"

#include "loadingnotify.h"

CUploadState::CUploadState()
    : m_writeStop(0), m_confirmDone(0), m_expected(0), m_dialog(nullptr), m_linesWritten(0),
      m_deviceLost(0) {}

void CUploadState::Cancel() {
    m_writeStop.store(1);
    m_confirmDone.store(1);
}

void CUploadState::AllLinesSent(int32_t sent) {
    if (sent > 0)
        m_expected.store(sent);
    else
        m_confirmDone.store(1);
}

void CUploadState::StartWriting(ILoadingNotify* dialog) {
    m_writeStop.store(0);
    m_dialog.store(dialog);
}

// The confirmation thread starts first, so the words both threads share start with it.
void CUploadState::StartConfirming(ILoadingNotify* dialog) {
    m_confirmDone.store(0);
    m_expected.store(0);
    m_linesWritten.store(0);
    m_deviceLost.store(0);
    m_dialog.store(dialog);
}

void CUploadState::ReportDeviceLost() {
    Cancel();
    if (m_deviceLost.exchange(1) != 0) return;
    if (ILoadingNotify* dialog = m_dialog.load()) {
        dialog->DeviceLost();
        dialog->EndDialog(ILoadingNotify::kDeviceLost);
    }
}

CUploadState& CUploadState::Process() {
    static CUploadState state;
    return state;
}
