// The read thread and a real window on the test's thread, as the main window will have them:
// the notifications arrive as messages, and the window can park the thread at any moment.
#include "comm.h"
#include "modsim.h"
#include "nullmodem.h"
#include "process.h"
#include "readnotifywindow_win32.h"
#include "readthread.h"
#include "timing.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

using testing_support::ModuleSimulator;
using testing_support::NullModem;

namespace {

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Received> received;

LRESULT CALLBACK Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND || message == WM_VSCROLL)
        received.push_back({message, wParam, lParam});
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Record;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TarlinReadNotifyTest";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Tarlin read thread test",
                                  WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    if (window) ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

int Count(UINT message, WPARAM wParam) {
    int n = 0;
    for (const Received& r : received)
        if (r.message == message && (message != WM_COMMAND || r.wParam == wParam)) ++n;
    return n;
}

class Counter : public IReadConsumer {
public:
    void Consume(unsigned char) override { ++bytes; }
    int GetRow() override { return 4321; }
    std::atomic<long> bytes{0};
};

// A text file for the simulator to stream, in the pair's folder.
std::string StreamFile(const NullModem& modem) {
    const std::string path = modem.Folder() + "/stream.txt";
    FILE* out = std::fopen(testing_support::FromLinux(path).c_str(), "wb");
    if (!out) return "";
    for (int n = 0; n < 100000; n++)
        std::fprintf(out, "line %05d of the module's log, sent as fast as it goes\r\n", n);
    std::fclose(out);
    return path;
}

class ReadNotifyWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        received.clear();
        window = MakeWindow();
        ASSERT_NE(nullptr, window);
        ASSERT_TRUE(modem.Ready());
        ASSERT_EQ(1, port.Open(modem.PortName(0).c_str(), 1));
    }
    void TearDown() override {
        thread.RequestStop();
        thread.Join();
        DestroyWindow(window);
    }
    HWND window = nullptr;
    NullModem modem;
    CComm port;
    Counter counter;
    int data = 0; // stands for the application data
    CReadThreadControl control{false, 2000};
    CReadThread thread{&control};
};

} // namespace

// The thread notifies the window after every chunk while the window waits for it to park:
// a notification the thread had to wait for would make the request time out.
TEST_F(ReadNotifyWindowTest, WindowParksTheThreadAThousandTimesWhileTheModuleStreams) {
    const std::string stream = StreamFile(modem);
    ASSERT_FALSE(stream.empty());
    ModuleSimulator sim(modem, {"--idle", "stream", "--stream", stream, "--stream-rate", "100000"});
    ASSERT_TRUE(sim.Started());
    CReadNotifyWindow notify(window);
    thread.SetContext(&port, &counter, &data, &notify);
    ASSERT_EQ(1, thread.Start(nullptr, 0));
    ASSERT_TRUE(testing_support::WaitFor([&] { return counter.bytes > 1000; }, 5000));
    const int kRounds = 1000;
    int failed = 0;
    long longest = 0;
    for (int round = 0; round < kRounds; round++) {
        // The window never asks again before the thread has taken its release.
        testing_support::WaitFor([&] { return !control.SuspendRequested(); }, 3000);
        const auto start = testing_support::Clock::now();
        if (thread.RequestSuspend() != 1 && ++failed > 3) break;
        longest = std::max(longest, testing_support::ElapsedMs(start));
        thread.RequestResume();
        if (round % 10 == 0) Pump();
    }
    EXPECT_EQ(0, failed);
    std::printf("longest suspend %ld ms, %ld bytes read\n", longest, counter.bytes.load());
    Pump();
    EXPECT_GT(Count(WM_VSCROLL, 0), 0);
    for (const Received& r : received) {
        if (r.message != WM_VSCROLL) continue;
        EXPECT_EQ(0xFFFFu, LOWORD(r.wParam));
        EXPECT_EQ(4321u, HIWORD(r.wParam));
    }
}

TEST_F(ReadNotifyWindowTest, PulledDeviceIsPostedAsTheDisconnectCommand) {
    CReadNotifyWindow notify(window);
    thread.SetContext(&port, &counter, &data, &notify);
    ASSERT_EQ(1, thread.Start(nullptr, 0));
    modem.Vanish(0);
    const auto start = testing_support::Clock::now();
    while (Count(WM_COMMAND, 1507) == 0 && testing_support::ElapsedMs(start) < 5000) {
        Pump();
        testing_support::Pause(10);
    }
    ASSERT_GT(Count(WM_COMMAND, 1507), 0);
    for (const Received& r : received) {
        if (r.message == WM_COMMAND) {
            EXPECT_EQ(0, r.lParam);
        }
    }
    // What the window does on the command: close and park; the reports stop.
    port.Close();
    ASSERT_EQ(1, thread.RequestSuspend());
    Pump();
    const int seen = Count(WM_COMMAND, 1507);
    testing_support::Pause(500);
    Pump();
    EXPECT_EQ(seen, Count(WM_COMMAND, 1507));
}
