// Waiting on Win32 without blocking threads that send messages to the waiting thread.
#pragma once

#include <windows.h>

// Waits up to ms (or INFINITE) for the object like WaitForSingleObject, answering the
// messages other threads send to this thread meanwhile: a window thread that waits for a
// worker never blocks a worker that is sending to one of its windows.
DWORD WaitAnsweringSentMessages(HANDLE object, DWORD ms);

// Marks the calling thread as one that never makes windows (every CMyThread): its waits
// are plain ones, whatever IsGUIThread says (Wine's answers yes for every thread).
void MarkThreadWithoutWindows();
