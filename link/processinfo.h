// What the program's event names are made of: the process id and a millisecond tick count.
#pragma once

#include <cstdint>

// The id of the running process: names that carry it belong to this program alone.
uint32_t CurrentProcessId();
// Milliseconds of a counter that wraps at 2^32, GetTickCount's on Win32.
uint32_t TickCountMs();
