// Settings files on POSIX: our own profile reader and writer over plain cp1250 files.
#include "inifile.h"
#include "profile.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace inifile_platform {
namespace {

bool ReadAll(const char* path, std::string& content) {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
        content.append(chunk, n);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

// Written beside the file and renamed over it, so a failed write never leaves half a file.
bool ReplaceAll(const char* path, const std::string& content) {
    const std::string temporary = std::string(path) + ".new";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace

bool OpenOrCreate(const char* path, bool readWrite) {
    const int fd = ::open(path, (readWrite ? O_RDWR : O_RDONLY) | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

bool MakePlain(const char* path) {
    struct stat info;
    return ::stat(path, &info) == 0 &&
           ::chmod(path, (info.st_mode & 07777) | S_IRUSR | S_IWUSR) == 0;
}

bool CanOpenForReading(const char* path) {
    struct stat info;
    if (::stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    FILE* file = std::fopen(path, "rb");
    if (file != nullptr) std::fclose(file);
    return file != nullptr;
}

int ReadValue(const char* path, const char* section, const char* key, char* out, int size) {
    if (size <= 0) return 0;
    out[0] = 0;
    std::string content, value;
    if (!ReadAll(path, content) || !profile::Find(content, section, key, value)) return 0;
    const size_t copied =
        value.size() < static_cast<size_t>(size - 1) ? value.size() : static_cast<size_t>(size - 1);
    std::memcpy(out, value.data(), copied);
    out[copied] = 0;
    return static_cast<int>(copied);
}

bool WriteValue(const char* path, const char* section, const char* key, const char* value) {
    std::string content;
    if (!ReadAll(path, content)) content.clear(); // a missing file is created
    return ReplaceAll(path, profile::Set(content, section, key, value));
}

bool Recreate(const char* path) {
    return ReplaceAll(path, std::string());
}

} // namespace inifile_platform
