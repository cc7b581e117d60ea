#include "readthread.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "comm.h"

#if defined(_WIN32)
#include <windows.h>
#define TARLIN_PROCESS_ID static_cast<unsigned>(GetCurrentProcessId())
#else
#include <unistd.h>
#define TARLIN_PROCESS_ID static_cast<unsigned>(getpid())
#endif

namespace {

// The process id keeps two running programs from releasing each other's read threads.
struct EventName {
    char text[64];
    explicit EventName(const char* base) {
        std::snprintf(text, sizeof text, "%s_%u", base, TARLIN_PROCESS_ID);
    }
};

CReadThreadControl processControl(true);

} // namespace

CReadThreadControl::CReadThreadControl(bool named, uint32_t acknowledgeWaitMs)
    : m_acknowledgeWaitMs(acknowledgeWaitMs),
      m_suspendEvent(named ? EventName("Tarlin_Read_Thread_Suspend_Event").text : nullptr),
      m_stopEvent(named ? EventName("Tarlin_Read_Thread_Stop_Event").text : nullptr),
      m_suspendRequested(0), m_stopRequested(0), m_request(0), m_acknowledged(0) {}

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

int CReadThreadControl::RequestResume() {
    if (!m_suspendRequested.load()) return 0;
    m_stopEvent.Set(); // the thread clears the flag itself
    return 1;
}

void CReadThreadControl::RequestStop() {
    m_stopRequested.store(1);
    if (m_suspendRequested.load()) m_stopEvent.Set();
}

bool CReadThreadControl::Park() {
    m_acknowledged.store(m_request.load());
    m_suspendEvent.Set();
    const bool released = m_stopEvent.Wait(CAutoEvent::kInfinite) == CAutoEvent::kSignalled;
    m_suspendRequested.store(0);
    return released;
}

CReadThread::CReadThread(CReadThreadControl* control)
    : CMyThread(&CReadThread::ThreadFunction),
      m_control(control ? control : &CReadThreadControl::Process()) {}

int32_t TARLIN_THREAD_CALL CReadThread::ThreadFunction(MyThreadContext* context) {
    if (!context || !context->thread) return kExitNoContext;
    auto* port = static_cast<CComm*>(context->word[0]);
    auto* consumer = static_cast<IReadConsumer*>(context->word[1]);
    auto* notify = static_cast<IReadNotify*>(context->word[3]);
    if (!port || !consumer || !context->word[2]) return kExitNoContext;
    return static_cast<CReadThread*>(context->thread)->Run(port, consumer, notify);
}

int32_t CReadThread::Run(CComm* port, IReadConsumer* consumer, IReadNotify* notify) {
    CReadThreadControl& control = *m_control;
    for (;;) {
        if (control.SuspendRequested()) {
            if (!control.Park()) return kExitAbandoned;
            if (control.StopRequested()) return kExitStopped;
        }
        int32_t count = 0;
        const char* chunk = port->Read(&count, kReadWaitMs, 0);
        if (control.StopRequested()) return kExitStopped;
        if (!chunk) {
            if (count == CComm::kReadAbandoned) return kExitAbandoned;
            if (count == CComm::kReadGone) {
                if (notify) notify->PortGone();
                std::this_thread::sleep_for(std::chrono::milliseconds(kGonePauseMs));
            }
            continue;
        }
        for (int32_t i = 0; i < count; i++) {
            if (control.StopRequested()) return kExitStopped;
            consumer->Consume(static_cast<unsigned char>(chunk[i]));
        }
        if (notify) notify->FollowCursor(consumer->GetRow());
    }
}
