#include "autoevent.h"

#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <ctime>

// A word to sleep on: a Set costs one atomic exchange, and a system call only when a thread
// sleeps; a Wait that finds the event set makes none.
struct CAutoEvent::Impl {
    std::atomic<int> signalled{0};
    std::atomic<int> sleepers{0};
};

namespace {

static_assert(sizeof(std::atomic<int>) == sizeof(int) && std::atomic<int>::is_always_lock_free,
              "the futex word is the atomic itself");

void Futex(std::atomic<int>& word, int op, int value, const timespec* timeout) {
    syscall(SYS_futex, reinterpret_cast<int*>(&word), op | FUTEX_PRIVATE_FLAG, value, timeout,
            nullptr, 0);
}

bool Take(std::atomic<int>& signalled) {
    int set = 1;
    return signalled.compare_exchange_strong(set, 0);
}

} // namespace

CAutoEvent::CAutoEvent(const char*) : m_impl(std::make_unique<Impl>()) {}

CAutoEvent::~CAutoEvent() = default;

bool CAutoEvent::IsValid() const {
    return true;
}

// A sleeper counted after the load below finds the word set before it sleeps.
void CAutoEvent::Set() {
    if (m_impl->signalled.exchange(1) == 0 && m_impl->sleepers.load() > 0)
        Futex(m_impl->signalled, FUTEX_WAKE, 1, nullptr);
}

void CAutoEvent::Reset() {
    m_impl->signalled.store(0);
}

// Woken sleepers race for the one Set; the losers sleep again until their time is up.
CAutoEvent::WaitResult CAutoEvent::Wait(uint32_t ms) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        if (Take(m_impl->signalled)) return kSignalled;
        timespec left{};
        if (ms != kInfinite) {
            const auto rest = std::chrono::duration_cast<std::chrono::nanoseconds>(
                deadline - Clock::now());
            if (rest.count() <= 0) return kTimeout;
            left.tv_sec = static_cast<time_t>(rest.count() / 1000000000);
            left.tv_nsec = static_cast<long>(rest.count() % 1000000000);
        }
        m_impl->sleepers.fetch_add(1);
        Futex(m_impl->signalled, FUTEX_WAIT, 0, ms == kInfinite ? nullptr : &left);
        m_impl->sleepers.fetch_sub(1);
    }
}
