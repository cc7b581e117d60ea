// Keeps an edit field in the hexadecimal writing form ("1B 5B 32 4A") while its owner asks for
// it: typing, pasting, cutting and deleting pass through and the field is formatted again, and
// deleting a separating space takes the neighbouring digit with it.
#pragma once

#include <windows.h>

#include <functional>

class CHexEditFilter {
public:
    CHexEditFilter() = default;
    ~CHexEditFilter();
    CHexEditFilter(const CHexEditFilter&) = delete;
    CHexEditFilter& operator=(const CHexEditFilter&) = delete;

    // active is asked at every message; while it answers false the field works as usual.
    bool Attach(HWND edit, std::function<bool()> active);
    void Detach();

    // Rewrites the field in the hexadecimal form, keeping the caret at its place.
    static void FormatField(HWND edit);

private:
    static LRESULT CALLBACK FilterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR self);
    LRESULT Filter(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_edit = nullptr;
    std::function<bool()> m_active;
};
