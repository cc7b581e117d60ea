#include "messagewait_win32.h"

namespace {

thread_local bool t_withoutWindows = false;

} // namespace

void MarkThreadWithoutWindows() {
    t_withoutWindows = true;
}

// Only a thread with windows is sent messages; any other waits plainly (and is not given a
// message queue it does not need). A message wait costs Wine several server calls more.
DWORD WaitAnsweringSentMessages(HANDLE object, DWORD ms) {
    if (t_withoutWindows || !IsGUIThread(FALSE)) return WaitForSingleObject(object, ms);
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        DWORD left = INFINITE;
        if (ms != INFINITE) {
            const ULONGLONG spent = GetTickCount64() - start;
            left = spent >= ms ? 0 : static_cast<DWORD>(ms - spent);
        }
        const DWORD result = MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1) return result;
        // Peeking runs the handlers of sent messages; posted ones stay queued.
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
