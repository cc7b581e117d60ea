// cp1250 text for the wide Win32 calls.
#pragma once

#include "codepage.h"

#include <windows.h>

#include <string>

inline std::wstring WideText(const char* text) {
    if (text == nullptr) return std::wstring();
    const int size = OskelCp1250ToWide(text, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    OskelCp1250ToWide(text, reinterpret_cast<unsigned short*>(&wide[0]), size);
    wide.resize(wide.size() - 1);
    return wide;
}

inline std::string NarrowText(const wchar_t* text) {
    if (text == nullptr) return std::string();
    const int size = OskelWideToCp1250(reinterpret_cast<const unsigned short*>(text), nullptr, 0);
    std::string narrow(static_cast<size_t>(size > 0 ? size : 1), '\0');
    OskelWideToCp1250(reinterpret_cast<const unsigned short*>(text), &narrow[0], size);
    narrow.resize(narrow.size() - 1);
    return narrow;
}

// The whole text of a window (an edit field, a combo box's field) as cp1250.
inline std::string WindowTextOf(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(window, &wide[0], length + 1);
    return NarrowText(wide.c_str());
}
