// Where the per-user settings files live: the user's settings folder plus "Tarlin",
// created when missing; the program's own folder when the user has none.
#pragma once

#include "dynstring.h"

bool LocateSettingsFolder(CDynString& folder);

namespace settings_platform {
// The user's base folder for application settings (created when missing).
bool UserBase(CDynString& folder);
bool ProgramFolder(CDynString& folder);
// Creates one folder; an existing one is no error.
bool CreateFolder(const char* path);
} // namespace settings_platform
