#include "mybar_win32.h"

#include <commctrl.h>

CMyBar::CMyBar() = default;

CMyBar::~CMyBar() {
    if (m_window != nullptr && ::IsWindow(m_window)) ::DestroyWindow(m_window);
    m_window = nullptr;
    m_parent = nullptr;
    m_height = 0;
    m_visible = 0;
}

bool CMyBar::Init(HWND parent) {
    if (m_parent == nullptr) m_parent = parent;
    if (m_parent == nullptr) return false;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&controls);
    if (!Create() || m_window == nullptr) return false;
    m_visible = 1;
    MeasureHeight();
    return true;
}

void CMyBar::Toggle() {
    HWND outer = GetOuterWindow();
    if (outer == nullptr) return;
    if (m_visible) {
        ::ShowWindow(outer, SW_HIDE);
        m_visible = 0;
        return;
    }
    ::ShowWindow(outer, SW_SHOW);
    MeasureHeight();
    m_visible = 1;
}

void CMyBar::MeasureHeight() {
    RECT rect;
    HWND outer = GetOuterWindow();
    if (outer != nullptr && ::GetWindowRect(outer, &rect)) m_height = rect.bottom - rect.top;
}
