// Settings files on Windows: the platform's private-profile functions. Files we create start
// with a UTF-16 byte-order mark, so the profile functions keep every character of a value
// whatever the system's ANSI code page is.
#include "inifile.h"
#include "wide_win32.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace inifile_platform {
namespace {

using oskel::ToWide;

class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() {
        if (IsValid()) CloseHandle(m_handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

HANDLE OpenFile(const char* path, DWORD access, DWORD disposition) {
    return CreateFileW(ToWide(path).c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

bool WriteByteOrderMark(HANDLE file) {
    const unsigned char mark[2] = {0xFF, 0xFE};
    DWORD written = 0;
    return WriteFile(file, mark, 2, &written, nullptr) && written == 2;
}

} // namespace

bool OpenOrCreate(const char* path, bool readWrite) {
    Handle file(OpenFile(path, GENERIC_READ | (readWrite ? GENERIC_WRITE : 0), OPEN_ALWAYS));
    if (!file.IsValid()) return false;
    LARGE_INTEGER size{};
    if (readWrite && GetFileSizeEx(file.Get(), &size) && size.QuadPart == 0)
        return WriteByteOrderMark(file.Get());
    return true;
}

bool MakePlain(const char* path) {
    return SetFileAttributesW(ToWide(path).c_str(), FILE_ATTRIBUTE_NORMAL) != 0;
}

bool CanOpenForReading(const char* path) {
    Handle file(OpenFile(path, GENERIC_READ, OPEN_EXISTING));
    return file.IsValid();
}

int ReadValue(const char* path, const char* section, const char* key, char* out, int size) {
    if (size <= 0) return 0;
    out[0] = 0;
    std::vector<wchar_t> value(static_cast<size_t>(size));
    const DWORD copied =
        GetPrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(), L"", value.data(),
                                 static_cast<DWORD>(size), ToWide(path).c_str());
    if (copied == 0) return 0;
    return oskel::ToCp1250(value.data(), out, size);
}

bool WriteValue(const char* path, const char* section, const char* key, const char* value) {
    return WritePrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(),
                                      ToWide(value).c_str(), ToWide(path).c_str()) != 0;
}

bool Recreate(const char* path) {
    Handle file(OpenFile(path, GENERIC_WRITE, CREATE_ALWAYS));
    return file.IsValid() && WriteByteOrderMark(file.Get());
}

} // namespace inifile_platform
