#include "processinfo.h"

#include <unistd.h>

#include <chrono>

uint32_t CurrentProcessId() {
    return static_cast<uint32_t>(getpid());
}

uint32_t TickCountMs() {
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}
