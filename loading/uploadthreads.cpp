#include "uploadthreads.h"

#include <chrono>
#include <cstdio>

#include "processinfo.h"
#include "uploadstate.h"

CUploadThreads::EventName::EventName(const char* base) {
    std::snprintf(text, sizeof text, "%s_%u_%u", base, static_cast<unsigned>(CurrentProcessId()),
                  static_cast<unsigned>(TickCountMs()));
}

CUploadThreads::CUploadThreads(CUploadState* state)
    : m_state(state ? state : &CUploadState::Process()),
      m_written(EventName("_Tarlin_WriteEvent").text),
      m_confirmed(EventName("_Tarlin_ConfirmEvent").text), m_writer(m_state), m_confirmer(m_state) {
}

CUploadThreads::~CUploadThreads() {
    Stop();
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

// Each thread looks at the flags whenever it wakes, so the events make a cancel immediate.
void CUploadThreads::Cancel() {
    m_state->Cancel();
    m_written.Set();
    m_confirmed.Set();
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

void CUploadThreads::Stop() {
    if (!Wait(0)) Cancel();
    m_writer.Join();
    m_confirmer.Join();
}
