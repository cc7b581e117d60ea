// Settings files on Windows. Files we create start with a UTF-16 byte-order mark and go
// through the platform's wide profile functions, which then keep every character of a value
// whatever the system's ANSI code page is. Files without that mark (the shipped version.ini,
// files of other tools and earlier versions) are cp1250: the profile functions would decode
// them in the system's code page, so their bytes are read and written by our own code.
#include "inifile.h"
#include "wide_win32.h"

#include <windows.h>

#include <cstring>
#include <algorithm>
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

const unsigned char kUnicodeMark[2] = {0xFF, 0xFE};

bool HasUnicodeMark(const char* path) {
    Handle file(CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    unsigned char start[2] = {};
    DWORD read = 0;
    return file.IsValid() && ReadFile(file.Get(), start, 2, &read, nullptr) && read == 2 &&
           start[0] == kUnicodeMark[0] && start[1] == kUnicodeMark[1];
}

int ReadUnicodeValue(const char* path, const char* section, const char* key, char* out, int size) {
    std::vector<wchar_t> value(static_cast<size_t>(size));
    const DWORD copied =
        GetPrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(), L"", value.data(),
                                 static_cast<DWORD>(size), ToWide(path).c_str());
    if (copied == 0) return 0;
    return oskel::ToCp1250(value.data(), out, size);
}

bool WriteUnicodeValue(const char* path, const char* section, const char* key, const char* value) {
    return WritePrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(),
                                      ToWide(value).c_str(), ToWide(path).c_str()) != 0;
}

bool WriteNewFile(const std::wstring& path, const std::string& content) {
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD size = static_cast<DWORD>(content.size());
    DWORD written = 0;
    return file.IsValid() && WriteFile(file.Get(), content.data(), size, &written, nullptr) &&
           written == size;
}

bool WriteByteOrderMark(HANDLE file) {
    DWORD written = 0;
    return WriteFile(file, kUnicodeMark, 2, &written, nullptr) && written == 2;
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

int ReadValue(const char* path, const char* section, const char* key, char* out, int size,
              profile::CIndex& index) {
    if (size <= 0) return 0;
    out[0] = 0;
    return HasUnicodeMark(path) ? ReadUnicodeValue(path, section, key, out, size)
                                : ReadByteValue(path, section, key, out, size, index);
}

bool WriteValue(const char* path, const char* section, const char* key, const char* value) {
    return HasUnicodeMark(path) ? WriteUnicodeValue(path, section, key, value)
                                : WriteByteValue(path, section, key, value);
}

// The whole file in as few reads as it takes: a long list is read key by key, thousands of
// times.
bool ReadBytes(const char* path, std::string& content) {
    Handle file(CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return false;
    LARGE_INTEGER size{};
    const bool sized = GetFileSizeEx(file.Get(), &size) && size.QuadPart < (1LL << 30);
    size_t have = content.size();
    content.resize(have + (sized ? static_cast<size_t>(size.QuadPart) : 0) + 1);
    for (;;) {
        if (have == content.size()) content.resize(have + 65536); // the file grew meanwhile
        DWORD read = 0;
        const DWORD room = static_cast<DWORD>(std::min<size_t>(content.size() - have, 1u << 30));
        const bool ok = ReadFile(file.Get(), &content[have], room, &read, nullptr) != 0;
        have += read;
        if (!ok || read == 0) {
            content.resize(have);
            return ok;
        }
    }
}

bool ReplaceBytes(const char* path, const std::string& content) {
    const std::wstring temporary = ToWide(path) + L".new";
    if (WriteNewFile(temporary, content) &&
        MoveFileExW(temporary.c_str(), ToWide(path).c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

bool Recreate(const char* path) {
    Handle file(OpenFile(path, GENERIC_WRITE, CREATE_ALWAYS));
    return file.IsValid() && WriteByteOrderMark(file.Get());
}

} // namespace inifile_platform
