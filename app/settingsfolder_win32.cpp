// The settings folder on Windows: the user's application-data folder.
#include "settingsfolder.h"
#include "wide_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace settings_platform {

bool UserBase(CDynString& folder) {
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                      SHGFP_TYPE_CURRENT, path)) &&
           path[0] != 0 && oskel::SetFromWide(folder, path) == 1;
}

bool ProgramFolder(CDynString& folder) {
    std::vector<wchar_t> path(32768);
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) return false;
    std::wstring program(path.data(), length);
    const size_t slash = program.find_last_of(L"\\/");
    return slash != std::wstring::npos &&
           oskel::SetFromWide(folder, program.substr(0, slash).c_str()) == 1;
}

bool CreateFolder(const char* path) {
    const std::wstring wide = oskel::ToWide(path);
    if (!CreateDirectoryW(wide.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace settings_platform
