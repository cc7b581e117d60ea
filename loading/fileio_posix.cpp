// Shared file access on POSIX: files are never locked, so plain stdio does.
#include "codepage.h"
#include "fileio.h"

#include <unistd.h>
#include <vector>

FILE* OpenSharedFile(const char* path, const char* mode) {
    std::vector<char> utf8(static_cast<size_t>(OskelCp1250ToUtf8(path, nullptr, 0)));
    OskelCp1250ToUtf8(path, utf8.data(), static_cast<int>(utf8.size()));
    return std::fopen(utf8.data(), mode);
}

bool TruncateOpenFile(FILE* file) {
    return std::fflush(file) == 0 && std::fseek(file, 0, SEEK_SET) == 0 &&
           ::ftruncate(::fileno(file), 0) == 0;
}
