#include "autoevent.h"

#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <ctime>

// One word to sleep on: bit 0 is the event, the rest counts sleepers. A Set is one atomic
// step, plus a system call only when someone sleeps, and touches nothing after that step
// but the futex address (a woken waiter may destroy the event at once; a wake of a freed
// word is harmless, as every futex user loops).
struct CAutoEvent::Impl {
    std::atomic<int> word{0};
};

namespace {

const int kSet = 1;
const int kSleeper = 2;

static_assert(sizeof(std::atomic<int>) == sizeof(int) && std::atomic<int>::is_always_lock_free,
              "the futex word is the atomic itself");

void Futex(std::atomic<int>& word, int op, int value, const timespec* timeout) {
    syscall(SYS_futex, reinterpret_cast<int*>(&word), op | FUTEX_PRIVATE_FLAG, value, timeout,
            nullptr, 0);
}

bool Take(std::atomic<int>& word) {
    int now = word.load();
    while (now & kSet)
        if (word.compare_exchange_weak(now, now & ~kSet)) return true;
    return false;
}

} // namespace

CAutoEvent::CAutoEvent(const char*) : m_impl(std::make_unique<Impl>()) {}

CAutoEvent::~CAutoEvent() = default;

bool CAutoEvent::IsValid() const {
    return true;
}

void CAutoEvent::Set() {
    const int before = m_impl->word.fetch_or(kSet);
    if (!(before & kSet) && before >= kSleeper) Futex(m_impl->word, FUTEX_WAKE, 1, nullptr);
}

void CAutoEvent::Reset() {
    m_impl->word.fetch_and(~kSet);
}

// A Set between counting in and sleeping changes the word, so the sleep does not begin.
// Woken sleepers race for the one Set; the losers sleep again until their time is up.
CAutoEvent::WaitResult CAutoEvent::Wait(uint32_t ms) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ms);
    std::atomic<int>& word = m_impl->word;
    for (;;) {
        if (Take(word)) return kSignalled;
        timespec left{};
        if (ms != kInfinite) {
            const auto rest =
                std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - Clock::now());
            if (rest.count() <= 0) return kTimeout;
            left.tv_sec = static_cast<time_t>(rest.count() / 1000000000);
            left.tv_nsec = static_cast<long>(rest.count() % 1000000000);
        }
        const int counted = word.fetch_add(kSleeper) + kSleeper;
        if (!(counted & kSet)) Futex(word, FUTEX_WAIT, counted, ms == kInfinite ? nullptr : &left);
        word.fetch_sub(kSleeper);
    }
}
