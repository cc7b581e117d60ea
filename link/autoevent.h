// An auto-reset event: one Set releases one Wait, a Set nobody waits for stays until taken.
// On Win32 a window thread that waits still answers messages other threads send it.
#pragma once

#include <cstdint>
#include <memory>

class CAutoEvent {
public:
    enum WaitResult { kSignalled, kTimeout, kAbandoned };
    static constexpr uint32_t kInfinite = 0xFFFFFFFFu;

    // The name is used on Win32 only; null makes an unnamed event.
    explicit CAutoEvent(const char* name = nullptr);
    ~CAutoEvent();
    CAutoEvent(const CAutoEvent&) = delete;
    CAutoEvent& operator=(const CAutoEvent&) = delete;

    bool IsValid() const;
    void Set();
    void Reset();
    WaitResult Wait(uint32_t ms);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
