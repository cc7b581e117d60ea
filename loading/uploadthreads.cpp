#include "uploadthreads.h"

#include <chrono>
#include <cstdio>

#include "uploadstate.h"

#if defined(_WIN32)
#include <windows.h>
#define TARLIN_PROCESS_ID static_cast<unsigned>(GetCurrentProcessId())
#define TARLIN_TICKS static_cast<unsigned>(GetTickCount())
#else
#include <unistd.h>
#define TARLIN_PROCESS_ID static_cast<unsigned>(getpid())
#define TARLIN_TICKS                                                                               \
    static_cast<unsigned>(std::chrono::duration_cast<std::chrono::milliseconds>(                   \
                              std::chrono::steady_clock::now().time_since_epoch())                 \
                              .count())
#endif

CUploadThreads::EventName::EventName(const char* base) {
    std::snprintf(text, sizeof text, "%s_%u_%u", base, TARLIN_PROCESS_ID, TARLIN_TICKS);
}

CUploadThreads::CUploadThreads(CUploadState* state)
    : m_state(state ? state : &CUploadState::Process()),
      m_written(EventName("_Tarlin_WriteEvent").text),
      m_confirmed(EventName("_Tarlin_ConfirmEvent").text), m_writer(m_state), m_confirmer(m_state) {
}

CUploadThreads::~CUploadThreads() {
    if (Wait(0)) return;
    Cancel();
    Wait(kEndWaitMs);
}

int CUploadThreads::Start(CComm* port, CMyFile* file, ILoadingNotify* dialog) {
    m_confirmer.SetContext(port, file, &m_written, &m_confirmed);
    m_writer.SetContext(port, file, &m_written, &m_confirmed);
    m_state->StartConfirming(dialog);
    if (!m_confirmer.Start(nullptr, 0)) return 0;
    m_confirmer.SetPriority(kThreadPriorityBelowNormal);
    m_state->StartWriting(dialog);
    if (!m_writer.Start(nullptr, 0)) return 0;
    m_writer.SetPriority(kThreadPriorityBelowNormal);
    return 1;
}

void CUploadThreads::Cancel() {
    m_state->Cancel();
}

int CUploadThreads::Wait(uint32_t ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    CMyThread* const threads[] = {&m_writer, &m_confirmer};
    for (CMyThread* thread : threads) {
        if (!thread->HasThread()) continue;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (!thread->Wait(left > 0 ? static_cast<uint32_t>(left) : 0, nullptr)) return 0;
    }
    return 1;
}
