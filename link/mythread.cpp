#include "mythread.h"

CMyThread::CMyThread(MyThreadFunction function)
    : m_handle(nullptr), m_id(0),
      m_running(0), m_context{{nullptr, nullptr, nullptr, nullptr}, this}, m_function(function),
      m_unstarted(nullptr) {}

CMyThread::~CMyThread() {
    Join();
}

void CMyThread::SetContext(void* word1, void* word2, void* word3, void* word4) {
    m_context.word[0] = word1;
    m_context.word[1] = word2;
    m_context.word[2] = word3;
    m_context.word[3] = word4;
}

void CMyThread::UpdateContext(void* word1, void* word2, void* word3, void* word4) {
    void* const words[4] = {word1, word2, word3, word4};
    for (int i = 0; i < 4; i++)
        if (words[i]) m_context.word[i] = words[i];
}

void* CMyThread::GetContextWord(int index) const {
    return index >= 0 && index < 4 ? m_context.word[index] : nullptr;
}

// Killing a running thread could leave a lock it holds taken for good, so it is refused.
int CMyThread::Start(MyThreadFunction fallback, int createSuspended) {
    if (m_handle) {
        if (!Wait(0, nullptr)) return 0;
        CloseThreadHandle();
    }
    if (!m_function) m_function = fallback;
    if (!m_function) return 0;
    if (!CreatePlatformThread(createSuspended != 0)) return 0;
    if (!SetPriority(kThreadPriorityAboveNormal)) return 0;
    m_running = createSuspended ? 0 : 1;
    return 1;
}

void CMyThread::Join() {
    if (!m_handle) return;
    CancelUnstarted();
    Resume();
    Wait(kWaitForever, nullptr);
    CloseThreadHandle();
}
