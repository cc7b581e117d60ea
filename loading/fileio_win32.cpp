// Shared file access on Windows: wide path, no sharing restriction.
#include "codepage.h"
#include "fileio.h"

#include <io.h>
#include <share.h>

#include <string>

namespace {

std::wstring Wide(const char* text) {
    std::wstring wide(static_cast<size_t>(OskelCp1250ToWide(text, nullptr, 0)), L'\0');
    OskelCp1250ToWide(text, reinterpret_cast<unsigned short*>(&wide[0]),
                      static_cast<int>(wide.size()));
    wide.pop_back();
    return wide;
}

} // namespace

FILE* OpenSharedFile(const char* path, const char* mode) {
    return _wfsopen(Wide(path).c_str(), Wide(mode).c_str(), _SH_DENYNO);
}

bool TruncateOpenFile(FILE* file) {
    return std::fflush(file) == 0 && std::fseek(file, 0, SEEK_SET) == 0 &&
           _chsize_s(_fileno(file), 0) == 0;
}
