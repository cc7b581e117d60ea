// A screen drawing context for measuring, released on leaving the scope. Header only, so
// each module has its own copy and nothing crosses the library's boundary.
#pragma once

#include <windows.h>

class CMyScreenDC {
public:
    CMyScreenDC() : m_dc(::GetDC(nullptr)) {}
    ~CMyScreenDC() {
        if (m_dc != nullptr) ::ReleaseDC(nullptr, m_dc);
    }
    CMyScreenDC(const CMyScreenDC&) = delete;
    CMyScreenDC& operator=(const CMyScreenDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};
