// Files opened for shared access, with cp1250 paths; one implementation per platform.
#pragma once

#include <cstdio>

// Opens a file without locking other programs out; null on failure.
FILE* OpenSharedFile(const char* path, const char* mode);
// Empties an open file and moves to its start; false on failure.
bool TruncateOpenFile(FILE* file);
