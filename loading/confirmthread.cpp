#include "confirmthread.h"

#include <chrono>
#include <cstring>
#include <random>
#include <thread>

#include "autoevent.h"
#include "comm.h"
#include "loadingnotify.h"
#include "uploadstate.h"

namespace {

const int32_t kDirectReadMs = 100;
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
    if (!context || !context->thread) return kExitNoContext;
    auto* port = static_cast<CComm*>(context->word[0]);
    auto* written = static_cast<CAutoEvent*>(context->word[2]);
    auto* confirmed = static_cast<CAutoEvent*>(context->word[3]);
    if (!port || !context->word[1] || !written || !confirmed) return kExitNoContext;
    return static_cast<CConfirmThread*>(context->thread)->Run(*port, *written, *confirmed);
}

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
        if (wait == CAutoEvent::kSignalled) {
            dialog->LineSent();
            dialog->StartTimer(timer, kNextLineTimerMs);
            std::this_thread::yield();
            const int32_t ack = AwaitAck(port);
            if (ack == kExitAbandoned) dialog->KillTimer(timer);
            if (ack != 1) return ack;
            ++confirmations;
            confirmed.Set();
        }
        if (m_state->ConfirmDone()) return kExitStopped;
        // Until the write thread has reported its count there is nothing to compare with;
        // a slow start must not pass for a finished upload.
        const int32_t expected = m_state->ExpectedConfirmations();
        if (expected > 0 && expected == confirmations) {
            dialog->KillTimer(timer);
            dialog->EndDialog(1);
            return kExitConfirmed;
        }
    }
}

// Several ACK bytes in one chunk are one confirmation; a chunk without one is dropped.
int32_t CConfirmThread::AwaitAck(CComm& port) {
    for (;;) {
        if (m_state->ConfirmDone()) return kExitStopped;
        const char* data = nullptr;
        int32_t count = 0;
        for (int i = 0; i < kPollsPerRound && !data; ++i) {
            count = 0;
            data = port.Read(&count, kDirectReadMs, 1);
        }
        if (!data) {
            if (count == CComm::kReadAbandoned) return kExitAbandoned;
            // A closed port answers at once; do not spin on it.
            if (!port.IsOpen()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        if (count > 0 && std::memchr(data, kAck, static_cast<size_t>(count))) return 1;
    }
}
