// What the read thread costs while the line is silent, and how long the window waits for it
// to park while the module streams; figures to watch, not pass/fail limits. Prints one
// figure per line, "name value".
//
//   readthread_bench [--idle-seconds S] [--suspends N]
//
// On Windows the thread notifies a real window, as in the program.
#include <chrono>
#include <cstdio>
#include <string>

#include "comm.h"
#include "figures.h"
#include "modsim.h"
#include "nullmodem.h"
#include "process.h"
#include "readthread.h"
#include "timing.h"

#if defined(_WIN32)
#include <windows.h>

#include "readnotifywindow_win32.h"
#else
#include <dirent.h>
#endif

namespace {

using testing_support::Clock;

class Counter : public IReadConsumer {
public:
    void Consume(unsigned char) override { ++bytes; }
    int GetRow() override { return 0; }
    long bytes = 0;
};

#if defined(_WIN32)
LRESULT CALLBACK Ignore(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// A window of this thread for the notifications, pumped between requests.
class Window {
public:
    Window() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Ignore;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TarlinReadThreadBench";
        RegisterClassW(&windowClass);
        m_window = CreateWindowExW(0, windowClass.lpszClassName, L"bench", WS_OVERLAPPEDWINDOW, 0,
                                   0, 300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
        m_notify = new CReadNotifyWindow(m_window);
    }
    ~Window() {
        delete m_notify;
        DestroyWindow(m_window);
    }
    IReadNotify* Notify() { return m_notify; }
    void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }

private:
    HWND m_window;
    CReadNotifyWindow* m_notify;
};

// Context switches are not counted here.
double ContextSwitches() {
    return -1;
}
#else
class Window {
public:
    IReadNotify* Notify() { return nullptr; }
    void Pump() {}
};

// Voluntary and involuntary context switches of all the process's threads.
double ContextSwitches() {
    double total = 0;
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks) return -1;
    while (dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] == '.') continue;
        const std::string path = std::string("/proc/self/task/") + entry->d_name + "/status";
        FILE* status = std::fopen(path.c_str(), "r");
        if (!status) continue;
        char line[256];
        long value = 0;
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "voluntary_ctxt_switches: %ld", &value) == 1 ||
                std::sscanf(line, "nonvoluntary_ctxt_switches: %ld", &value) == 1)
                total += static_cast<double>(value);
        std::fclose(status);
    }
    closedir(tasks);
    return total;
}
#endif

// A connected port on a silent module, the read thread waiting.
void Idle(CComm& port, int seconds) {
    Counter counter;
    int data = 0;
    CReadThreadControl control(false, 2000);
    CReadThread thread(&control);
    thread.SetContext(&port, &counter, &data, nullptr);
    thread.Start(nullptr, 0);
    testing_support::Pause(500);
    const double cpuBefore = testing_support::ProcessCpuMs();
    const double switchesBefore = ContextSwitches();
    const Clock::time_point start = Clock::now();
    testing_support::Pause(seconds * 1000);
    const double wallMs = static_cast<double>(testing_support::ElapsedMs(start));
    const double cpuMs = testing_support::ProcessCpuMs() - cpuBefore;
    const double switches = ContextSwitches() - switchesBefore;
    Figure("idle_cpu_percent", 100.0 * cpuMs / wallMs);
    if (switchesBefore >= 0) Figure("idle_wakeups_per_second", switches * 1000.0 / wallMs);
}

std::string StreamFile(const testing_support::NullModem& modem) {
    const std::string path = modem.Folder() + "/stream.txt";
    FILE* out = std::fopen(testing_support::FromLinux(path).c_str(), "wb");
    if (!out) return "";
    for (int n = 0; n < 100000; n++)
        std::fprintf(out, "line %06d of the module's log, sent as fast as it goes\r\n", n);
    std::fclose(out);
    return path;
}

// The window parks and releases the thread over and over while the module streams. The
// thread is let go before each request (the window never asks again in the same breath).
void Suspends(CReadThreadControl& control, CReadThread& thread, Window& window, Counter& counter,
              int rounds) {
    double longest = 0;
    double total = 0;
    int failed = 0;
    for (int round = 0; round < rounds; round++) {
        testing_support::WaitFor([&] { return !control.SuspendRequested(); }, 2000);
        window.Pump();
        const Clock::time_point start = Clock::now();
        if (thread.RequestSuspend() != 1) ++failed;
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        longest = ms > longest ? ms : longest;
        total += ms;
        thread.RequestResume();
    }
    Figure("suspend_longest_ms", longest);
    Figure("suspend_mean_ms", rounds ? total / rounds : 0.0);
    Figure("suspend_failures", failed);
    Figure("suspend_stream_bytes", static_cast<double>(counter.bytes));
}

void Stream(testing_support::NullModem& modem, testing_support::ModuleSimulator& sim, CComm& port,
            int rounds) {
    sim.Command("stream " + StreamFile(modem));
    Window window;
    Counter counter;
    int data = 0;
    CReadThreadControl control(false, 2000);
    CReadThread thread(&control);
    thread.SetContext(&port, &counter, &data, window.Notify());
    thread.Start(nullptr, 0);
    testing_support::Pause(500);
    Suspends(control, thread, window, counter, rounds);
    thread.RequestStop();
    thread.Join();
}

} // namespace

int main(int argc, char** argv) {
    const int idleSeconds = NumberOption(argc, argv, "idle-seconds", 5);
    const int suspends = NumberOption(argc, argv, "suspends", 1000);
    testing_support::NullModem modem;
    CComm port;
    if (!modem.Ready() || port.Open(modem.PortName(0).c_str(), 1) != 1) {
        std::fputs("readthread_bench: no null-modem\n", stderr);
        return 1;
    }
    // One simulator for both: silent first, then streaming.
    testing_support::ModuleSimulator sim(modem, {"--idle", "silent", "--stream-rate", "300000"});
    if (!sim.Started()) {
        std::fputs("readthread_bench: no simulator\n", stderr);
        return 1;
    }
    if (idleSeconds > 0) Idle(port, idleSeconds);
    if (suspends > 0) Stream(modem, sim, port, suspends);
    return 0;
}
