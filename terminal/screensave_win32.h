// The save dialog that picks the text file the screen is saved into.
#pragma once

#include "dynstring.h"

#include <windows.h>

// True with the chosen full path in path; false when the user cancelled.
bool AskScreenSaveFile(HWND owner, CDynString& path);
