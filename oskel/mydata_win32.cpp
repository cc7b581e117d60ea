// Process services from Win32, read through the wide functions.
#include "platform.h"
#include "wide_win32.h"

#include <windows.h>

#include <vector>

namespace oskel {
using oskel::SetFromWide;

int ReadCurrentDirectory(CDynString& out) {
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) return 0;
    std::vector<wchar_t> buffer(needed + 2);
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0 || length >= buffer.size()) return 0;
    return SetFromWide(out, buffer.data());
}

int ReadUserName(CDynString& out) {
    DWORD size = 0;
    GetUserNameW(nullptr, &size);
    if (size == 0 || size >= 260) return 0;
    std::vector<wchar_t> buffer(size + 2);
    size = static_cast<DWORD>(buffer.size());
    if (!GetUserNameW(buffer.data(), &size)) return 0;
    return SetFromWide(out, buffer.data());
}

int ReadProcessCommandLine(CDynString& out) {
    const wchar_t* line = GetCommandLineW();
    return line != nullptr && SetFromWide(out, line);
}

} // namespace oskel
