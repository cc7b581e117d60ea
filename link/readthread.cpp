#include "readthread.h"

#include <chrono>
#include <cstdio>

#include "comm.h"
#include "processinfo.h"

namespace {

// The process id keeps two running programs from releasing each other's read threads.
struct EventName {
    char text[64];
    explicit EventName(const char* base) {
        std::snprintf(text, sizeof text, "%s_%u", base, static_cast<unsigned>(CurrentProcessId()));
    }
};

CReadThreadControl processControl(true);

} // namespace

CReadThreadControl::CReadThreadControl(bool named, uint32_t acknowledgeWaitMs)
    : m_acknowledgeWaitMs(acknowledgeWaitMs),
      m_suspendEvent(named ? EventName("Tarlin_Read_Thread_Suspend_Event").text : nullptr),
      m_stopEvent(named ? EventName("Tarlin_Read_Thread_Stop_Event").text : nullptr),
      m_suspendRequested(0), m_stopRequested(0), m_request(0), m_acknowledged(0), m_released(0) {}

CReadThreadControl& CReadThreadControl::Process() {
    return processControl;
}

int CReadThreadControl::RequestSuspend() {
    if (m_suspendRequested.load()) return 0;
    const uint32_t request = m_request.fetch_add(1) + 1;
    // A signal left from an earlier request that nobody took must not answer this one.
    m_suspendEvent.Reset();
    m_suspendRequested.store(1);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(m_acknowledgeWaitMs);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
        if (left < 0) left = 0;
        if (m_suspendEvent.Wait(static_cast<uint32_t>(left)) != CAutoEvent::kSignalled) return 0;
        if (m_acknowledged.load() == request) return 1;
    }
}

// The flag is cleared here, not by the woken thread: a suspension asked for right after a
// release must be a new request, not refused because the thread has not run yet. A release
// names the request it answers, so one given before the thread parked, or a signal left
// over from it, never lets a later parking go.
int CReadThreadControl::RequestResume() {
    if (!m_suspendRequested.load()) return 0;
    m_released.store(m_request.load());
    m_suspendRequested.store(0);
    m_stopEvent.Set();
    return 1;
}

// The stop event also wakes a thread resting on a closed port.
void CReadThreadControl::RequestStop() {
    m_stopRequested.store(1);
    m_stopEvent.Set();
}

bool CReadThreadControl::Park() {
    const uint32_t request = m_request.load();
    m_acknowledged.store(request);
    m_suspendEvent.Set();
    while (!ReleasedFrom(request) && !StopRequested()) {
        if (m_stopEvent.Wait(CAutoEvent::kInfinite) != CAutoEvent::kSignalled) return false;
    }
    return true;
}

// Request numbers wrap; a release counts when it is not older than the request.
bool CReadThreadControl::ReleasedFrom(uint32_t request) const {
    return static_cast<int32_t>(m_released.load() - request) >= 0;
}

bool CReadThreadControl::Rest(uint32_t ms) {
    return m_stopEvent.Wait(ms) != CAutoEvent::kAbandoned;
}

CReadThread::CReadThread(CReadThreadControl* control)
    : CMyThread(&CReadThread::ThreadFunction),
      m_control(control ? control : &CReadThreadControl::Process()) {}

CReadThread::~CReadThread() {
    if (HasThread() && !Wait(0, nullptr)) m_control->RequestStop();
    Join();
}

int32_t TARLIN_THREAD_CALL CReadThread::ThreadFunction(MyThreadContext* context) {
    CReadThread* thread = nullptr;
    CComm* port = nullptr;
    IReadConsumer* consumer = nullptr;
    void* data = nullptr;
    IReadNotify* notify = nullptr;
    if (!UnpackContext(context, thread, port, consumer, data, notify) || !port || !consumer ||
        !data)
        return kExitNoContext;
    return thread->Run(*port, *consumer, notify);
}

int32_t CReadThread::Run(CComm& port, IReadConsumer& consumer, IReadNotify* notify) {
    CReadThreadControl& control = *m_control;
    for (;;) {
        if (control.SuspendRequested()) {
            if (!control.Park()) return kExitAbandoned;
        }
        if (control.StopRequested()) return kExitStopped;
        int32_t count = 0;
        const char* chunk = port.Read(&count, kReadWaitMs, 0);
        if (control.StopRequested()) return kExitStopped;
        if (!chunk) {
            if (const int32_t exit = NoData(count, notify)) return exit;
            continue;
        }
        for (int32_t done = 0; done < count;) {
            if (control.StopRequested()) return kExitStopped;
            done += consumer.ConsumeRun(chunk + done, count - done);
        }
        if (notify) notify->FollowCursor(consumer.GetRow());
    }
}

// A gone device is reported every pass until the window parks the thread; a closed port or
// another reader is waited out on the stop event, never polled.
int32_t CReadThread::NoData(int32_t count, IReadNotify* notify) {
    switch (count) {
    case CComm::kReadAbandoned: return kExitAbandoned;
    case CComm::kReadGone:
        if (notify) notify->PortGone();
        return m_control->Rest(kGonePauseMs) ? 0 : kExitAbandoned;
    case CComm::kReadNotOpen:
    case CComm::kReadBusy: return m_control->Rest(kReadWaitMs) ? 0 : kExitAbandoned;
    default: return 0;
    }
}
