#include "sentmessagewait_win32.h"

#include "mythread.h"

#include <windows.h>

namespace {

// Between two looks at the thread; a sent message ends the step at once.
const DWORD kStepMs = 10;

void AnswerSentMessages(DWORD ms) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_SENDMESSAGE);
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

} // namespace

bool WaitForThreadAnswering(CMyThread& thread, uint32_t ms) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (!thread.HasThread() || thread.Wait(0, nullptr)) return true;
        const DWORD passed = ::GetTickCount() - start;
        if (passed >= ms) return false;
        AnswerSentMessages(ms - passed < kStepMs ? ms - passed : kStepMs);
    }
}

void PauseAnsweringSentMessages(uint32_t ms) {
    const DWORD start = ::GetTickCount();
    for (DWORD passed = 0; passed < ms; passed = ::GetTickCount() - start)
        AnswerSentMessages(ms - passed);
}
