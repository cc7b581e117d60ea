// What the main window's bars share: the parent, the bar's own window, its height and
// whether it is shown. The main window lays itself out from these.
#pragma once

#include <windows.h>

class CMyBar {
public:
    CMyBar();
    virtual ~CMyBar();
    CMyBar(const CMyBar&) = delete;
    CMyBar& operator=(const CMyBar&) = delete;

    // Hides a shown bar, shows a hidden one (measuring its height anew).
    virtual void Toggle();
    // Places the bar in the parent's client area; -1 without parent or window.
    virtual int Layout() = 0;
    // Makes the bar's windows; false when they could not be made.
    virtual bool Create() = 0;

    // Keeps a known parent, else takes this one; runs Create and measures the bar.
    bool Init(HWND parent);

    HWND GetWindow() const { return m_window; }
    HWND GetParentWindow() const { return m_parent; }
    int GetHeight() const { return m_height; }
    int IsVisible() const { return m_visible; }
    // The height the main window leaves for the bar: 0 while it is hidden.
    int GetLayoutHeight() const { return m_visible ? m_height : 0; }

protected:
    // The window whose height the bar takes and that Toggle hides (the rebar of the tool bar).
    virtual HWND GetOuterWindow() const { return m_window; }
    void MeasureHeight();

    HWND m_parent = nullptr;
    HWND m_window = nullptr;
    int m_height = 0;
    int m_visible = 0;
};
