#include "uploadstate.h"

CUploadState::CUploadState() : m_writeStop(0), m_confirmDone(0), m_expected(0), m_dialog(nullptr) {}

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

void CUploadState::StartConfirming(ILoadingNotify* dialog) {
    m_confirmDone.store(0);
    m_expected.store(0);
    m_dialog.store(dialog);
}

CUploadState& CUploadState::Process() {
    static CUploadState state;
    return state;
}
