// The whole text of a window (an edit field, a combo box's field) as cp1250.
#pragma once

#include "wide_win32.h"

#include <string>

inline std::string WindowTextOf(HWND window) {
    std::wstring wide(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    wide.resize(
        static_cast<size_t>(::GetWindowTextW(window, &wide[0], static_cast<int>(wide.size()))));
    return oskel::ToCp1250(wide.c_str());
}
