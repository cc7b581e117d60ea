// The settings folder on Windows: the user's application-data folder.
#include "codepage.h"
#include "settingsfolder.h"

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace settings_platform {
namespace {

bool SetFromWide(CDynString& out, const wchar_t* text) {
    const auto* wide = reinterpret_cast<const unsigned short*>(text);
    std::vector<char> converted(static_cast<size_t>(OskelWideToCp1250(wide, nullptr, 0)));
    OskelWideToCp1250(wide, converted.data(), static_cast<int>(converted.size()));
    return out.InitBuffer(converted.data()) == 1;
}

} // namespace

bool UserBase(CDynString& folder) {
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                      SHGFP_TYPE_CURRENT, path)) &&
           path[0] != 0 && SetFromWide(folder, path);
}

bool ProgramFolder(CDynString& folder) {
    std::vector<wchar_t> path(32768);
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) return false;
    std::wstring program(path.data(), length);
    const size_t slash = program.find_last_of(L"\\/");
    return slash != std::wstring::npos && SetFromWide(folder, program.substr(0, slash).c_str());
}

bool CreateFolder(const char* path) {
    std::wstring wide(static_cast<size_t>(OskelCp1250ToWide(path, nullptr, 0)), L'\0');
    OskelCp1250ToWide(path, reinterpret_cast<unsigned short*>(&wide[0]),
                      static_cast<int>(wide.size()));
    if (!CreateDirectoryW(wide.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace settings_platform
