// The settings folder on POSIX: $XDG_CONFIG_HOME, else ~/.config.
#include "codepage.h"
#include "settingsfolder.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace settings_platform {
namespace {

bool SetFromUtf8(CDynString& out, const std::string& text) {
    const int size = OskelUtf8ToCp1250(text.c_str(), nullptr, 0);
    std::vector<char> converted(static_cast<size_t>(size));
    OskelUtf8ToCp1250(text.c_str(), converted.data(), size);
    return out.InitBuffer(converted.data()) == 1;
}

bool MakeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

} // namespace

bool UserBase(CDynString& folder) {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] != '/') return false;
        base = std::string(home) + "/.config";
    }
    return MakeFolders(base) && SetFromUtf8(folder, base);
}

bool ProgramFolder(CDynString& folder) {
    std::vector<char> path(4096);
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0) return false;
    std::string program(path.data(), static_cast<size_t>(length));
    const size_t slash = program.rfind('/');
    return slash != std::string::npos && SetFromUtf8(folder, program.substr(0, slash));
}

bool CreateFolder(const char* path) {
    std::vector<char> utf8(static_cast<size_t>(OskelCp1250ToUtf8(path, nullptr, 0)));
    OskelCp1250ToUtf8(path, utf8.data(), static_cast<int>(utf8.size()));
    struct stat info;
    return (::mkdir(utf8.data(), 0755) == 0 || errno == EEXIST) &&
           ::stat(utf8.data(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace settings_platform
