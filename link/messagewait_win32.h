// Waiting on Win32 without blocking threads that send messages to the waiting thread.
#pragma once

#include <windows.h>

// Waits up to ms (or INFINITE) for the object like WaitForSingleObject, answering the
// messages other threads send to this thread meanwhile: a window thread that waits for a
// worker never blocks a worker that is sending to one of its windows.
DWORD WaitAnsweringSentMessages(HANDLE object, DWORD ms);
