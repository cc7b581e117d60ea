// Settings files on POSIX: plain cp1250 files, read and written by our own profile code.
#include "inifile.h"

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace inifile_platform {

bool ReadBytes(const char* path, std::string& content) {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
        content.append(chunk, n);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

bool ReplaceBytes(const char* path, const std::string& content) {
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

int ReadValue(const char* path, const char* section, const char* key, char* out, int size,
              profile::CIndex& index) {
    return ReadByteValue(path, section, key, out, size, index);
}

bool WriteValue(const char* path, const char* section, const char* key, const char* value) {
    return WriteByteValue(path, section, key, value);
}

bool Recreate(const char* path) {
    return ReplaceBytes(path, std::string());
}

} // namespace inifile_platform
