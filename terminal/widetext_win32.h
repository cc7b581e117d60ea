// cp1250 text for the wide Win32 calls.
#pragma once

#include "codepage.h"

#include <string>

inline std::wstring WideText(const char* text) {
    if (text == nullptr) return std::wstring();
    const int size = OskelCp1250ToWide(text, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    OskelCp1250ToWide(text, reinterpret_cast<unsigned short*>(&wide[0]), size);
    wide.resize(wide.size() - 1);
    return wide;
}
