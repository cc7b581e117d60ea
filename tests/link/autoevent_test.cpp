#include "autoevent.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The generous bound turns a lost wake-up into a failure instead of a hang.
const uint32_t kLostMs = 10000;

} // namespace

TEST(AutoEvent, ASetWaitsForItsTakerAndReleasesOneWait) {
    CAutoEvent event;
    ASSERT_TRUE(event.IsValid());
    EXPECT_EQ(event.Wait(0), CAutoEvent::kTimeout);
    event.Set();
    event.Set(); // a second Set of a set event adds nothing
    EXPECT_EQ(event.Wait(0), CAutoEvent::kSignalled);
    EXPECT_EQ(event.Wait(0), CAutoEvent::kTimeout);
    event.Set();
    event.Reset();
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(event.Wait(50), CAutoEvent::kTimeout);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(45));
}

// The upload's hand-over: two threads pass the turn back and forth through two events.
TEST(AutoEvent, PingPongLosesNoWakeUp) {
    CAutoEvent ping, pong;
    const int rounds = 5000;
    std::atomic<int> answered{0};
    std::thread other([&] {
        for (int i = 0; i < rounds; i++) {
            if (ping.Wait(kLostMs) != CAutoEvent::kSignalled) return;
            ++answered;
            pong.Set();
        }
    });
    int turns = 0;
    for (; turns < rounds; turns++) {
        ping.Set();
        if (pong.Wait(kLostMs) != CAutoEvent::kSignalled) break;
    }
    other.join();
    EXPECT_EQ(turns, rounds);
    EXPECT_EQ(answered.load(), rounds);
}

// Each Set, once taken, releases exactly one of several sleepers; none sleeps on past it.
TEST(AutoEvent, EverySetReleasesOneOfSeveralWaiters) {
    CAutoEvent event, taken;
    const int waiters = 4;
    std::atomic<int> released{0}, timedOut{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < waiters; i++)
        threads.emplace_back([&] {
            if (event.Wait(kLostMs) != CAutoEvent::kSignalled) {
                ++timedOut;
                return;
            }
            ++released;
            taken.Set();
        });
    for (int i = 1; i <= waiters; i++) {
        event.Set();
        EXPECT_EQ(taken.Wait(kLostMs), CAutoEvent::kSignalled);
        EXPECT_EQ(released.load(), i);
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(released.load(), waiters);
    EXPECT_EQ(timedOut.load(), 0);
    EXPECT_EQ(event.Wait(0), CAutoEvent::kTimeout);
}

// The one that waits may destroy the event as soon as its Wait returns (a worker's last Set
// before the owner tears it down); the Set must not touch the event after releasing it.
TEST(AutoEvent, AWaiterMayDestroyTheEventOnceReleased) {
    for (int i = 0; i < 500; i++) {
        auto* event = new CAutoEvent;
        std::thread setter([event] { event->Set(); });
        const CAutoEvent::WaitResult result = event->Wait(kLostMs);
        delete event;
        setter.join();
        ASSERT_EQ(result, CAutoEvent::kSignalled);
    }
}
