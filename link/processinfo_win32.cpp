#include "processinfo.h"

#include <windows.h>

uint32_t CurrentProcessId() {
    return static_cast<uint32_t>(GetCurrentProcessId());
}

uint32_t TickCountMs() {
    return static_cast<uint32_t>(GetTickCount());
}
