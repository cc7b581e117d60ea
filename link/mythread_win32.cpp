#include "mythread.h"

#include <windows.h>

#include <atomic>

#include "messagewait_win32.h"

namespace {

// What the thread starts with; owned by the thread once it runs.
struct StartBlock {
    MyThreadFunction function;
    MyThreadContext* context;
    std::atomic<bool> cancelled{false};
};

DWORD WINAPI Trampoline(void* argument) {
    auto* start = static_cast<StartBlock*>(argument);
    // Workers post to windows but never own one.
    MarkThreadWithoutWindows();
    const int32_t code = start->cancelled ? kThreadNeverRan : start->function(start->context);
    delete start;
    return static_cast<DWORD>(code);
}

} // namespace

bool CMyThread::CreatePlatformThread(bool suspended) {
    auto* start = new StartBlock{m_function, &m_context};
    DWORD id = 0;
    HANDLE h = CreateThread(nullptr, 0, Trampoline, start, suspended ? CREATE_SUSPENDED : 0, &id);
    if (!h) {
        delete start;
        return false;
    }
    m_handle = h;
    m_id = id;
    m_unstarted = suspended ? start : nullptr;
    return true;
}

// The start block lives until the thread first runs, which cannot happen before Resume.
void CMyThread::CancelUnstarted() {
    if (m_unstarted) static_cast<StartBlock*>(m_unstarted)->cancelled = true;
}

int CMyThread::Suspend() {
    if (!m_handle) return 0;
    if (m_running) {
        if (SuspendThread(m_handle) == static_cast<DWORD>(-1)) return 0;
        m_running = 0;
    }
    return 1;
}

int CMyThread::Resume() {
    if (!m_handle) return 0;
    if (m_running) return 1;
    if (ResumeThread(m_handle) == static_cast<DWORD>(-1)) return 0;
    m_running = 1;
    m_unstarted = nullptr;
    return 1;
}

int CMyThread::SetPriority(int priority) {
    return m_handle ? SetThreadPriority(m_handle, priority) : 0;
}

void CMyThread::CloseThreadHandle() {
    if (!m_handle) return;
    CloseHandle(m_handle);
    m_handle = nullptr;
    m_unstarted = nullptr;
    m_id = 0;
    m_running = 0;
}

int CMyThread::Wait(uint32_t ms, int32_t* exitCode) {
    if (!m_handle) return 0;
    const DWORD wait = ms == kWaitForever ? INFINITE : ms;
    if (WaitAnsweringSentMessages(m_handle, wait) != WAIT_OBJECT_0) return 0;
    DWORD code = 0;
    GetExitCodeThread(m_handle, &code);
    if (exitCode) *exitCode = static_cast<int32_t>(code);
    return 1;
}
