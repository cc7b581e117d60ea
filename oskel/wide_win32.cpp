#include "wide_win32.h"

#include "codepage.h"

#include <cstring>

namespace oskel {

std::wstring ToWide(const char* text) {
    if (text == nullptr) return std::wstring();
    const int size = OskelCp1250ToWide(text, nullptr, 0);
    std::wstring wide(size > 0 ? size : 1, L'\0');
    OskelCp1250ToWide(text, reinterpret_cast<unsigned short*>(&wide[0]), size);
    wide.resize(size > 0 ? size - 1 : 0);
    return wide;
}

std::wstring ToWideList(const char* list) {
    std::wstring wide;
    if (list == nullptr) return wide;
    for (const char* p = list; *p != 0; p += std::strlen(p) + 1) {
        wide += ToWide(p);
        wide += L'\0';
    }
    wide += L'\0';
    return wide;
}

int ToCp1250(const wchar_t* text, char* out, int size) {
    if (text == nullptr || out == nullptr || size <= 0) return 0;
    OskelWideToCp1250(reinterpret_cast<const unsigned short*>(text), out, size);
    return static_cast<int>(std::strlen(out));
}

std::string ToCp1250(const wchar_t* text) {
    if (text == nullptr) return std::string();
    const unsigned short* units = reinterpret_cast<const unsigned short*>(text);
    const int size = OskelWideToCp1250(units, nullptr, 0);
    std::string narrow(size > 0 ? size : 1, '\0');
    OskelWideToCp1250(units, &narrow[0], size);
    narrow.resize(size > 0 ? size - 1 : 0);
    return narrow;
}

} // namespace oskel
