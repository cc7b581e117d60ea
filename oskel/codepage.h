// Conversions between the program's cp1250 text and the platform's encodings.
// Each converter returns the size the whole result needs, terminator included, and
// writes at most outSize units (always terminated when outSize > 0); a null out only
// measures. Characters the code page lacks become '?'.
#pragma once

#include "oskel_api.h"

extern "C" {
OSKEL_API unsigned long OskelCp1250ToUnicode(unsigned char c);
OSKEL_API unsigned char OskelUnicodeToCp1250(unsigned long codePoint);
OSKEL_API int OskelCp1250ToWide(const char* text, unsigned short* out, int outSize);
OSKEL_API int OskelWideToCp1250(const unsigned short* text, char* out, int outSize);
OSKEL_API int OskelUtf8ToCp1250(const char* text, char* out, int outSize);
OSKEL_API int OskelCp1250ToUtf8(const char* text, char* out, int outSize);
// Lower-casing by the code page's own rules, the same on every platform and whatever code
// page Windows runs with (so "Ř" becomes "ř" also where the system code page is not 1250).
OSKEL_API unsigned char OskelCp1250ToLower(unsigned char c);
// Lower-cases count bytes in place (NUL bytes included, they stay as they are).
OSKEL_API void OskelCp1250LowerBuffer(char* text, int count);
}
