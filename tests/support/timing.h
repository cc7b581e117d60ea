// Clocks for tests: elapsed time, waiting for a condition, the process's CPU time. Margins
// in tests stay generous (half a second or a ratio): the machine is shared.
#pragma once

#include <chrono>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#else
#include <ctime>
#endif

namespace testing_support {

using Clock = std::chrono::steady_clock;

inline long ElapsedMs(Clock::time_point since) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

inline void Pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Checks the condition every few milliseconds for up to ms; true once it holds.
template <typename Condition> bool WaitFor(Condition condition, int ms) {
    const auto start = Clock::now();
    while (!condition()) {
        if (ElapsedMs(start) > ms) return false;
        Pause(5);
    }
    return true;
}

// CPU time the whole process has used, in milliseconds.
inline double ProcessCpuMs() {
#if defined(_WIN32)
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    auto ticks = [](FILETIME t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
#else
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
#endif
}

} // namespace testing_support
