#include "autoevent.h"

#include <windows.h>

#include "wide_win32.h"
#include "messagewait_win32.h"

struct CAutoEvent::Impl {
    HANDLE handle = nullptr;
};

CAutoEvent::CAutoEvent(const char* name) : m_impl(std::make_unique<Impl>()) {
    const std::wstring wide = oskel::ToWide(name);
    m_impl->handle = CreateEventW(nullptr, FALSE, FALSE, name ? wide.c_str() : nullptr);
}

CAutoEvent::~CAutoEvent() {
    if (m_impl->handle) CloseHandle(m_impl->handle);
}

bool CAutoEvent::IsValid() const {
    return m_impl->handle != nullptr;
}

void CAutoEvent::Set() {
    SetEvent(m_impl->handle);
}

void CAutoEvent::Reset() {
    ResetEvent(m_impl->handle);
}

CAutoEvent::WaitResult CAutoEvent::Wait(uint32_t ms) {
    switch (WaitAnsweringSentMessages(m_impl->handle, ms == kInfinite ? INFINITE : ms)) {
    case WAIT_OBJECT_0: return kSignalled;
    case WAIT_TIMEOUT: return kTimeout;
    default: return kAbandoned;
    }
}
