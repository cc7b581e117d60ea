#include "confirmthread.h"

#include <chrono>
#include <cstring>
#include <random>

#include "autoevent.h"
#include "comm.h"
#include "loadingnotify.h"
#include "uploadstate.h"

namespace {

const unsigned kTimerIds = 9999;

unsigned TimerId() {
    static std::minstd_rand generator(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    return static_cast<unsigned>(generator() % kTimerIds);
}

} // namespace

CConfirmThread::CConfirmThread(CUploadState* state)
    : CMyThread(&CConfirmThread::ThreadFunction),
      m_state(state ? state : &CUploadState::Process()) {}

int32_t TARLIN_THREAD_CALL CConfirmThread::ThreadFunction(MyThreadContext* context) {
    CConfirmThread* thread = nullptr;
    CComm* port = nullptr;
    void* file = nullptr;
    CAutoEvent* written = nullptr;
    CAutoEvent* confirmed = nullptr;
    if (!UnpackContext(context, thread, port, file, written, confirmed) || !port || !file ||
        !written || !confirmed)
        return kExitNoContext;
    return thread->Run(*port, *written, *confirmed);
}

// The write event also wakes the thread when the write thread has finished or the upload
// is cancelled; a line is outstanding only while fewer were confirmed than written.
int32_t CConfirmThread::Run(CComm& port, CAutoEvent& written, CAutoEvent& confirmed) {
    ILoadingNotify* dialog = m_state->Dialog();
    if (!dialog) return kExitNoDialog;
    const unsigned timer = TimerId();
    dialog->StartTimer(timer, kFirstLineTimerMs);
    int32_t confirmations = 0;
    for (;;) {
        const CAutoEvent::WaitResult wait = written.Wait(kWriteWaitMs);
        if (wait == CAutoEvent::kAbandoned) {
            dialog->KillTimer(timer);
            return kExitAbandoned;
        }
        if (m_state->ConfirmDone()) return Stopped();
        if (AllConfirmed(confirmations)) {
            dialog->KillTimer(timer);
            dialog->EndDialog(1);
            return kExitConfirmed;
        }
        if (m_state->LinesWritten() <= confirmations) continue;
        dialog->LineSent();
        dialog->StartTimer(timer, kNextLineTimerMs);
        const int32_t ack = AwaitAck(port, written);
        if (ack == kExitAbandoned) dialog->KillTimer(timer);
        if (ack == kExitDeviceLost) return Lost(*dialog, timer, confirmed);
        if (ack != 1) return ack;
        ++confirmations;
        confirmed.Set();
    }
}

// Until the write thread has reported its count there is nothing to compare with; a slow
// start must not pass for a finished upload.
bool CConfirmThread::AllConfirmed(int32_t confirmations) const {
    const int32_t expected = m_state->ExpectedConfirmations();
    return expected > 0 && expected == confirmations;
}

// Several ACK bytes in one chunk are one confirmation; a chunk without one is dropped. The
// wait is on the port itself, so the ACK is seen the moment it arrives.
int32_t CConfirmThread::AwaitAck(CComm& port, CAutoEvent& written) {
    for (;;) {
        if (m_state->ConfirmDone()) return Stopped();
        int32_t count = 0;
        const char* data = port.Read(&count, kAckReadMs, 0);
        if (data) {
            if (std::memchr(data, kAck, static_cast<size_t>(count))) return 1;
            continue;
        }
        switch (count) {
        case CComm::kReadAbandoned: return kExitAbandoned;
        case CComm::kReadGone: return kExitDeviceLost;
        // Nothing to read from: wait for a cancel instead of asking again at once.
        case CComm::kReadNotOpen:
        case CComm::kReadBusy: written.Wait(static_cast<uint32_t>(kAckReadMs)); break;
        default: break;
        }
    }
}

int32_t CConfirmThread::Lost(ILoadingNotify& dialog, unsigned timer, CAutoEvent& confirmed) {
    dialog.KillTimer(timer);
    m_state->ReportDeviceLost();
    confirmed.Set();
    return kExitDeviceLost;
}

int32_t CConfirmThread::Stopped() const {
    return m_state->DeviceLost() ? kExitDeviceLost : kExitStopped;
}
