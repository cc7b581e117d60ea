// Waits of the window thread that keep answering the messages other threads send it: a
// loading thread may be in the middle of a call to its dialog, and the read thread of one to
// the main window, and neither may be left waiting for a window thread that waits for it.
#pragma once

#include <cstdint>

class CMyThread;

// True once the thread has ended (or never ran); false after ms.
bool WaitForThreadAnswering(CMyThread& thread, uint32_t ms);
// Lets ms pass.
void PauseAnsweringSentMessages(uint32_t ms);
