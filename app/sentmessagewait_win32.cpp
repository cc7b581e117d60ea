#include "sentmessagewait_win32.h"

#include <windows.h>

void PauseAnsweringSentMessages(uint32_t ms) {
    const DWORD start = ::GetTickCount();
    for (DWORD passed = 0; passed < ms; passed = ::GetTickCount() - start) {
        // A sent message ends the wait at once; it is answered by looking at the queue.
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - passed, QS_SENDMESSAGE);
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
