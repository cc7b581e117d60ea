// A pause of the window thread that keeps answering the messages other threads send it: the
// read thread may be in the middle of a call to the main window meanwhile.
#pragma once

#include <cstdint>

// Lets ms pass.
void PauseAnsweringSentMessages(uint32_t ms);
