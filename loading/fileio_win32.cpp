// Shared file access on Windows: wide path, no sharing restriction.
#include "fileio.h"
#include "wide_win32.h"

#include <io.h>
#include <share.h>

FILE* OpenSharedFile(const char* path, const char* mode) {
    return _wfsopen(oskel::ToWide(path).c_str(), oskel::ToWide(mode).c_str(), _SH_DENYNO);
}

bool TruncateOpenFile(FILE* file) {
    return std::fflush(file) == 0 && std::fseek(file, 0, SEEK_SET) == 0 &&
           _chsize_s(_fileno(file), 0) == 0;
}
