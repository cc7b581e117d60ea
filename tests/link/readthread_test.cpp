// The read thread on a real port: what it hands on, and its park/release/stop handshake.
#include "readthread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "comm.h"
#include "nullmodem.h"
#include "timing.h"

using testing_support::Clock;
using testing_support::ElapsedMs;
using testing_support::NullModem;
using testing_support::Pause;
using testing_support::ProcessCpuMs;
using testing_support::WaitFor;

namespace {

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
    CReadThreadControl control{false, 2000};
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
    EXPECT_LT(ElapsedMs(start), 1000) << "an outstanding request is not waited for again";
    // The stray resume set no event: the thread stays parked.
    ASSERT_EQ(1, peer.WriteString("x"));
    Pause(500);
    EXPECT_EQ("", recorder.Bytes());
}

// The window parks the thread again straight after releasing it (identification, then the
// upload): that is a new request, and a second release leaves nothing that frees the next
// parking early.
TEST_F(ReadThreadTest, SuspendRightAfterAReleaseIsANewRequest) {
    ASSERT_EQ(1, thread.Start(nullptr, 0));
    for (int cycle = 0; cycle < 10; ++cycle) {
        ASSERT_EQ(1, thread.RequestSuspend()) << "cycle " << cycle;
        ASSERT_EQ(1, thread.RequestResume()) << "cycle " << cycle;
    }
    EXPECT_EQ(0, thread.RequestResume()) << "released already";
    ASSERT_EQ(1, thread.RequestSuspend());
    ASSERT_EQ(1, peer.WriteString("x"));
    Pause(500);
    EXPECT_EQ("", recorder.Bytes()) << "parked means not reading";
    ASSERT_EQ(1, thread.RequestResume());
    EXPECT_TRUE(WaitFor([&] { return recorder.Bytes() == "x"; }, 3000));
}

TEST_F(ReadThreadTest, StopWhileParkedEndsAtOnceWithOne) {
    ASSERT_EQ(1, thread.Start(nullptr, 0));
    ASSERT_EQ(1, thread.RequestSuspend());
    const auto start = Clock::now();
    EXPECT_EQ(1, StopAndWait(3000));
    EXPECT_LT(ElapsedMs(start), 1500);
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
    Pause(200); // one chunk
    ASSERT_EQ(1, thread.Start(nullptr, 0));
    int32_t code = 0;
    ASSERT_EQ(1, thread.Wait(3000, &code));
    EXPECT_EQ(1, code);
    EXPECT_EQ("012", recorder.Bytes());
}

// The CPU a thread uses over ms, as a share of that time.
template <typename During> double CpuShare(int ms, During during) {
    const double before = ProcessCpuMs();
    during();
    Pause(ms);
    return (ProcessCpuMs() - before) / ms;
}

TEST_F(ReadThreadTest, ParkedWithThePortClosedSpendsNoTime) {
    ASSERT_EQ(1, thread.Start(nullptr, 0));
    port.Close();
    ASSERT_EQ(1, thread.RequestSuspend());
    EXPECT_LT(CpuShare(2000, [] {}), 0.15) << "a polling thread would use the whole time";
}

// A port closed without parking the thread (a disconnect the window has not followed with a
// suspension yet) is waited out, not polled, and a stop still ends the thread at once.
TEST_F(ReadThreadTest, ClosedPortWithoutParkingSpendsNoTime) {
    ASSERT_EQ(1, thread.Start(nullptr, 0));
    port.Close();
    EXPECT_LT(CpuShare(1500, [] {}), 0.15) << "a spinning thread would use a whole core";
    EXPECT_EQ(0, notes.gone.load()) << "a deliberate close is no lost device";
    const auto start = Clock::now();
    EXPECT_EQ(1, StopAndWait(3000));
    EXPECT_LT(ElapsedMs(start), 1000);
}

TEST_F(ReadThreadTest, ClosedPortReopenedIsReadAgain) {
    ASSERT_EQ(1, thread.Start(nullptr, 0));
    port.Close();
    Pause(200);
    ASSERT_EQ(1, port.Reopen(1));
    ASSERT_EQ(1, peer.WriteString("back"));
    EXPECT_TRUE(WaitFor([&] { return recorder.Bytes() == "back"; }, 3000));
}

TEST_F(ReadThreadTest, VanishedPortAsksForDisconnectUntilParked) {
    ASSERT_EQ(1, thread.Start(nullptr, 0));
    modem.Vanish(0);
    ASSERT_TRUE(WaitFor([&] { return notes.gone >= 2; }, 8000)) << "repeated every pass";
    EXPECT_LT(CpuShare(1000, [] {}), 0.15) << "the reports are paced, not spun";
    // What the main window does on the disconnect command.
    port.Close();
    ASSERT_EQ(1, thread.RequestSuspend());
    const int seen = notes.gone;
    Pause(500);
    EXPECT_EQ(seen, notes.gone.load());
}

// The thread reads its control and context from the object: destroying the object stops it.
TEST_F(ReadThreadTest, DestroyingTheObjectStopsTheThread) {
    auto own = std::make_unique<CReadThread>(&control);
    own->SetContext(&port, &recorder, &data, &notes);
    ASSERT_EQ(1, own->Start(nullptr, 0));
    ASSERT_EQ(1, peer.WriteString("a"));
    ASSERT_TRUE(WaitFor([&] { return recorder.Bytes() == "a"; }, 3000));
    const auto start = Clock::now();
    own.reset();
    EXPECT_LT(ElapsedMs(start), 2000);
    ASSERT_EQ(1, peer.WriteString("b"));
    Pause(500);
    EXPECT_EQ("a", recorder.Bytes()) << "nobody reads after the object is gone";
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
