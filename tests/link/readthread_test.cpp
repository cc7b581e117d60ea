// The read thread on a real port: what it hands on, and its park/release/stop handshake.
#include "readthread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "comm.h"
#include "nullmodem.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <ctime>
#endif

using testing_support::NullModem;
using Clock = std::chrono::steady_clock;

namespace {

long ElapsedMs(Clock::time_point since) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

template <typename Condition> bool WaitFor(Condition condition, int ms) {
    const auto start = Clock::now();
    while (!condition()) {
        if (ElapsedMs(start) > ms) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

double ProcessCpuMs() {
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

// Records the bytes; can hold the thread inside Consume until released.
class Recorder : public IReadConsumer {
public:
    void Consume(unsigned char byte) override {
        std::unique_lock<std::mutex> hold(lock);
        bytes.push_back(static_cast<char>(byte));
        inside = true;
        changed.notify_all();
        changed.wait(hold, [this] { return !gate; });
        inside = false;
        if (onByte) onByte(bytes.size());
    }
    int GetRow() override { return 17; }

    std::string Bytes() {
        std::lock_guard<std::mutex> hold(lock);
        return bytes;
    }
    void Hold(bool on) {
        std::lock_guard<std::mutex> hold(lock);
        gate = on;
        changed.notify_all();
    }
    bool WaitInside(int ms) {
        std::unique_lock<std::mutex> hold(lock);
        return changed.wait_for(hold, std::chrono::milliseconds(ms), [this] { return inside; });
    }

    std::function<void(size_t)> onByte;

private:
    std::mutex lock;
    std::condition_variable changed;
    std::string bytes;
    bool gate = false;
    bool inside = false;
};

class Notes : public IReadNotify {
public:
    void PortGone() override { gone++; }
    void FollowCursor(int row) override {
        follows++;
        lastRow = row;
    }
    std::atomic<int> gone{0};
    std::atomic<int> follows{0};
    std::atomic<int> lastRow{-1};
};

class ReadThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(modem.Ready());
        ASSERT_EQ(1, port.Open(modem.PortName(0).c_str(), 1));
        ASSERT_EQ(1, peer.Open(modem.PortName(1).c_str(), 1));
        thread.SetContext(&port, &recorder, &data, &notes);
    }
    void TearDown() override {
        recorder.Hold(false);
        thread.RequestStop();
        thread.Wait(3000, nullptr);
    }
    int32_t StopAndWait(int ms) {
        int32_t code = 12345;
        thread.RequestStop();
        thread.Wait(static_cast<uint32_t>(ms), &code);
        return code;
    }

    NullModem modem;
    CComm port;
    CComm peer;
    Recorder recorder;
    Notes notes;
    int data = 0; // stands for the application data
    CReadThreadControl control{false, 1000};
    CReadThread thread{&control};
};

} // namespace

TEST_F(ReadThreadTest, HandsOnEveryByteAndFollowsTheCursor) {
    ASSERT_EQ(1, thread.Start(nullptr, 0));
    ASSERT_EQ(1, peer.WriteString("hello\x1b[2J"));
    ASSERT_TRUE(WaitFor([&] { return recorder.Bytes().size() == 9; }, 3000));
    EXPECT_EQ("hello\x1b[2J", recorder.Bytes());
    ASSERT_TRUE(WaitFor([&] { return notes.follows > 0; }, 1000));
    EXPECT_EQ(17, notes.lastRow.load());
    const auto start = Clock::now();
    EXPECT_EQ(1, StopAndWait(3000));
    EXPECT_LT(ElapsedMs(start), 1500) << "a running thread ends at its next check";
}

TEST_F(ReadThreadTest, ParksOnRequestAndReadsAgainWhenReleased) {
    ASSERT_EQ(1, thread.Start(nullptr, 0));
    ASSERT_EQ(1, thread.RequestSuspend());
    ASSERT_EQ(1, peer.WriteString("while parked"));
    // Another reader owns the port now.
    std::string other;
    const auto start = Clock::now();
    while (other.size() < 12 && ElapsedMs(start) < 3000) {
        int32_t count = 0;
        if (const char* bytes = port.Read(&count, 100, 0)) other.append(bytes, count);
    }
    EXPECT_EQ("while parked", other);
    EXPECT_EQ("", recorder.Bytes());
    ASSERT_EQ(1, thread.RequestResume());
    ASSERT_EQ(1, peer.WriteString("after"));
    ASSERT_TRUE(WaitFor([&] { return recorder.Bytes() == "after"; }, 3000));
}

TEST_F(ReadThreadTest, RepeatedSuspendAndStrayResumeReturnZeroAtOnce) {
    ASSERT_EQ(1, thread.Start(nullptr, 0));
    EXPECT_EQ(0, thread.RequestResume()) << "nothing to resume";
    ASSERT_EQ(1, thread.RequestSuspend());
    const auto start = Clock::now();
    EXPECT_EQ(0, thread.RequestSuspend());
    EXPECT_LT(ElapsedMs(start), 100) << "an outstanding request is not waited for again";
    // The stray resume set no event: the thread stays parked.
    ASSERT_EQ(1, peer.WriteString("x"));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ("", recorder.Bytes());
}

TEST_F(ReadThreadTest, StopWhileParkedEndsAtOnceWithOne) {
    ASSERT_EQ(1, thread.Start(nullptr, 0));
    ASSERT_EQ(1, thread.RequestSuspend());
    const auto start = Clock::now();
    EXPECT_EQ(1, StopAndWait(1000));
    EXPECT_LT(ElapsedMs(start), 300);
}

TEST_F(ReadThreadTest, StaleAcknowledgementDoesNotAnswerTheNextRequest) {
    ASSERT_EQ(1, thread.Start(nullptr, 0));
    recorder.Hold(true);
    ASSERT_EQ(1, peer.WriteString("a"));
    ASSERT_TRUE(recorder.WaitInside(3000));
    // The thread is busy: this request times out, and is released before it parks.
    EXPECT_EQ(0, thread.RequestSuspend());
    EXPECT_EQ(1, thread.RequestResume());
    recorder.Hold(false);
    // It parks on the old request (acknowledging nobody) and is let go at once.
    ASSERT_EQ(1, peer.WriteString("b"));
    ASSERT_TRUE(WaitFor([&] { return recorder.Bytes() == "ab"; }, 3000));
    // Busy again: the next request must time out, not take the old signal.
    recorder.Hold(true);
    ASSERT_EQ(1, peer.WriteString("c"));
    ASSERT_TRUE(recorder.WaitInside(3000));
    EXPECT_EQ(0, thread.RequestSuspend());
    recorder.Hold(false);
    // The flag stayed: the thread parks at its next pass.
    EXPECT_TRUE(WaitFor([&] { return recorder.Bytes() == "abc"; }, 3000));
    EXPECT_EQ(1, thread.RequestResume());
}

TEST_F(ReadThreadTest, StopSeenInsideAChunkDropsTheRest) {
    recorder.onByte = [this](size_t n) {
        if (n == 3) thread.RequestStop();
    };
    peer.WriteString("0123456789");
    std::this_thread::sleep_for(std::chrono::milliseconds(200)); // one chunk
    ASSERT_EQ(1, thread.Start(nullptr, 0));
    int32_t code = 0;
    ASSERT_EQ(1, thread.Wait(3000, &code));
    EXPECT_EQ(1, code);
    EXPECT_EQ("012", recorder.Bytes());
}

TEST_F(ReadThreadTest, ParkedWithThePortClosedSpendsNoTime) {
    ASSERT_EQ(1, thread.Start(nullptr, 0));
    port.Close();
    ASSERT_EQ(1, thread.RequestSuspend());
    const double before = ProcessCpuMs();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const double spent = ProcessCpuMs() - before;
    EXPECT_LT(spent, 100.0) << "a polling thread would use the whole 500 ms";
}

TEST_F(ReadThreadTest, VanishedPortAsksForDisconnectUntilParked) {
    ASSERT_EQ(1, thread.Start(nullptr, 0));
    modem.Vanish(0);
    ASSERT_TRUE(WaitFor([&] { return notes.gone >= 2; }, 8000)) << "repeated every pass";
    // What the main window does on the disconnect command.
    port.Close();
    ASSERT_EQ(1, thread.RequestSuspend());
    const int seen = notes.gone;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(seen, notes.gone.load());
}

TEST_F(ReadThreadTest, MissingContextEndsWithMinusTen) {
    CReadThreadControl own{false, 1000};
    for (int missing = 0; missing < 3; missing++) {
        CReadThread incomplete(&own);
        void* words[4] = {&port, &recorder, &data, nullptr};
        words[missing] = nullptr;
        incomplete.SetContext(words[0], words[1], words[2], words[3]);
        ASSERT_EQ(1, incomplete.Start(nullptr, 0));
        int32_t code = 0;
        ASSERT_EQ(1, incomplete.Wait(3000, &code));
        EXPECT_EQ(-10, code) << "word " << missing;
    }
}

TEST(ReadThreadProcessControl, IsSharedByDefault) {
    CReadThread a, b;
    EXPECT_EQ(&a.Control(), &b.Control());
    EXPECT_EQ(&CReadThreadControl::Process(), &a.Control());
}

#if defined(_WIN32)
#include "readnotify.h"

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

} // namespace

TEST(ReadNotifyWindow, SendsDisconnectAndCursorRowMessages) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Record;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TarlinReadNotifyTest";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(nullptr, window);
    CReadNotifyWindow notify(window);
    notify.PortGone();
    notify.FollowCursor(4321);
    DestroyWindow(window);
    ASSERT_EQ(2u, received.size());
    EXPECT_EQ(static_cast<UINT>(WM_COMMAND), received[0].message);
    EXPECT_EQ(1507u, received[0].wParam);
    EXPECT_EQ(0, received[0].lParam);
    EXPECT_EQ(static_cast<UINT>(WM_VSCROLL), received[1].message);
    EXPECT_EQ(0xFFFFu, LOWORD(received[1].wParam));
    EXPECT_EQ(4321u, HIWORD(received[1].wParam));
}
#endif
