#include "autoevent.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

struct CAutoEvent::Impl {
    std::mutex lock;
    std::condition_variable changed;
    bool signalled = false;
};

CAutoEvent::CAutoEvent(const char*) : m_impl(std::make_unique<Impl>()) {}

CAutoEvent::~CAutoEvent() = default;

bool CAutoEvent::IsValid() const {
    return true;
}

void CAutoEvent::Set() {
    std::lock_guard<std::mutex> hold(m_impl->lock);
    m_impl->signalled = true;
    m_impl->changed.notify_one();
}

void CAutoEvent::Reset() {
    std::lock_guard<std::mutex> hold(m_impl->lock);
    m_impl->signalled = false;
}

CAutoEvent::WaitResult CAutoEvent::Wait(uint32_t ms) {
    std::unique_lock<std::mutex> hold(m_impl->lock);
    auto ready = [this] { return m_impl->signalled; };
    if (ms == kInfinite)
        m_impl->changed.wait(hold, ready);
    else if (!m_impl->changed.wait_for(hold, std::chrono::milliseconds(ms), ready))
        return kTimeout;
    m_impl->signalled = false;
    return kSignalled;
}
