// The one place where cp1250 texts of the library's interface meet the wide Win32 calls.
#pragma once

#include <windows.h>

#include <string>

namespace oskel {

// A null text gives an empty result; callers that must pass null check first.
std::wstring ToWide(const char* text);
// Like ToWide for a list of texts each ended by a NUL, the list ended by a second NUL.
std::wstring ToWideList(const char* list);
// Writes text as cp1250 into out (size bytes with the terminator); returns the characters
// written, 0 for a null text or no room.
int ToCp1250(const wchar_t* text, char* out, int size);
// The whole text as cp1250; a null text gives an empty result.
std::string ToCp1250(const wchar_t* text);
// Null stays null, so optional texts keep their meaning.
inline const wchar_t* OrNull(const std::wstring& wide, const char* original) {
    return original != nullptr ? wide.c_str() : nullptr;
}

} // namespace oskel
