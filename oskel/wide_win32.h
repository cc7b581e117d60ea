// The one place where cp1250 texts meet the wide Win32 calls. Header only and inline: each
// module (the library, the program, a test) compiles its own copy, so no standard-library
// object crosses the library's boundary; only the C converters of codepage.h are called
// across it.
#pragma once

#include "codepage.h"
#include "dynstring.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace oskel {

inline unsigned short* Units(wchar_t* text) {
    return reinterpret_cast<unsigned short*>(text);
}
inline const unsigned short* Units(const wchar_t* text) {
    return reinterpret_cast<const unsigned short*>(text);
}

// A null text gives an empty result; callers that must pass null check first.
inline std::wstring ToWide(const char* text) {
    const int size = text != nullptr ? OskelCp1250ToWide(text, nullptr, 0) : 0;
    if (size <= 1) return std::wstring();
    std::wstring wide(static_cast<size_t>(size), L'\0');
    OskelCp1250ToWide(text, Units(&wide[0]), size);
    wide.resize(static_cast<size_t>(size - 1));
    return wide;
}

// Into a fixed buffer of size units, always terminated (cut when it does not fit); returns
// the units the whole text needs, terminator included.
inline int ToWide(const char* text, wchar_t* out, int size) {
    return text != nullptr ? OskelCp1250ToWide(text, Units(out), size) : 0;
}

// Like ToWide for a list of texts each ended by a NUL, the list ended by a second NUL.
inline std::wstring ToWideList(const char* list) {
    std::wstring wide;
    if (list == nullptr) return wide;
    for (const char* p = list; *p != 0; p += std::strlen(p) + 1) {
        wide += ToWide(p);
        wide += L'\0';
    }
    wide += L'\0';
    return wide;
}

// Writes text as cp1250 into out (size bytes with the terminator); returns the characters
// written, 0 for a null text or no room.
inline int ToCp1250(const wchar_t* text, char* out, int size) {
    if (text == nullptr || out == nullptr || size <= 0) return 0;
    OskelWideToCp1250(Units(text), out, size);
    return static_cast<int>(std::strlen(out));
}

// The whole text as cp1250; a null text gives an empty result.
inline std::string ToCp1250(const wchar_t* text) {
    const int size = text != nullptr ? OskelWideToCp1250(Units(text), nullptr, 0) : 0;
    if (size <= 1) return std::string();
    std::string narrow(static_cast<size_t>(size), '\0');
    OskelWideToCp1250(Units(text), &narrow[0], size);
    narrow.resize(static_cast<size_t>(size - 1));
    return narrow;
}

// The string becomes the text as cp1250; CDynString's result (1/0).
inline int SetFromWide(CDynString& out, const wchar_t* text) {
    return out.InitBuffer(ToCp1250(text).c_str());
}

// Null stays null, so optional texts keep their meaning.
inline const wchar_t* OrNull(const std::wstring& wide, const char* original) {
    return original != nullptr ? wide.c_str() : nullptr;
}

// A list or combo-box message whose lParam is a text (CB_ADDSTRING, CB_SELECTSTRING, ...).
inline LRESULT SendTextMessage(HWND control, UINT message, WPARAM wParam, const char* text) {
    const std::wstring wide = ToWide(text);
    return ::SendMessageW(control, message, wParam, reinterpret_cast<LPARAM>(wide.c_str()));
}

} // namespace oskel
