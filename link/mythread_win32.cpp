#include "mythread.h"

#include <windows.h>

bool CMyThread::CreatePlatformThread(bool suspended) {
    DWORD id = 0;
    HANDLE h = CreateThread(nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(m_function),
                            &m_context, suspended ? CREATE_SUSPENDED : 0, &id);
    if (!h) return false;
    m_handle = h;
    m_id = id;
    return true;
}

bool CMyThread::TerminatePlatformThread() {
    TerminateThread(m_handle, static_cast<DWORD>(kThreadTerminated));
    WaitForSingleObject(m_handle, INFINITE);
    return true;
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
    return 1;
}

int CMyThread::SetPriority(int priority) {
    return m_handle ? SetThreadPriority(m_handle, priority) : 0;
}

void CMyThread::CloseThreadHandle() {
    if (!m_handle) return;
    CloseHandle(m_handle);
    m_handle = nullptr;
    m_id = 0;
    m_running = 0;
}

int CMyThread::Wait(uint32_t ms, int32_t* exitCode) {
    if (!m_handle || WaitForSingleObject(m_handle, ms) != WAIT_OBJECT_0) return 0;
    DWORD code = 0;
    GetExitCodeThread(m_handle, &code);
    if (exitCode) *exitCode = static_cast<int32_t>(code);
    return 1;
}
