// The program's cp1250 texts where they meet wide Win32 calls of its own (common controls,
// the shell), and list-box texts of dialog items.
#pragma once

#include "codepage.h"

#include <windows.h>

#include <string>

inline std::wstring WideText(const char* text) {
    if (text == nullptr) return std::wstring();
    const int size = OskelCp1250ToWide(text, nullptr, 0);
    if (size <= 1) return std::wstring();
    std::wstring wide(static_cast<size_t>(size), L'\0');
    OskelCp1250ToWide(text, reinterpret_cast<unsigned short*>(&wide[0]), size);
    wide.resize(static_cast<size_t>(size - 1));
    return wide;
}

inline std::string Cp1250Text(const wchar_t* text) {
    if (text == nullptr) return std::string();
    const int size = OskelWideToCp1250(reinterpret_cast<const unsigned short*>(text), nullptr, 0);
    if (size <= 1) return std::string();
    std::string narrow(static_cast<size_t>(size), '\0');
    OskelWideToCp1250(reinterpret_cast<const unsigned short*>(text), &narrow[0], size);
    narrow.resize(static_cast<size_t>(size - 1));
    return narrow;
}

// A list or combo-box message whose lParam is a text (CB_ADDSTRING, CB_SELECTSTRING, ...).
inline LRESULT SendTextMessage(HWND control, UINT message, WPARAM wParam, const char* text) {
    const std::wstring wide = WideText(text);
    return ::SendMessageW(control, message, wParam, reinterpret_cast<LPARAM>(wide.c_str()));
}
