// Process services the data classes need, one implementation per platform.
// Texts come back as cp1250, whatever the platform's own encoding.
#pragma once

#include "dynstring.h"

namespace oskel {

// Separator between folders in a path of this platform.
#if defined(_WIN32)
const char kPathSeparator = '\\';
#else
const char kPathSeparator = '/';
#endif

int ReadCurrentDirectory(CDynString& out);
int ReadUserName(CDynString& out);
// The command line as one text, split by CCmdLine the way the platform splits it.
int ReadProcessCommandLine(CDynString& out);

} // namespace oskel
