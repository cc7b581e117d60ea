// Commands "Uložit" and "Uložit jako...": the terminal's lines into the save file that the data
// object keeps open, rewritten from the start at every save. Failures are silent: the file
// keeps what was written before.
#pragma once

#include <windows.h>

class CTarlinData;

// Rewrites the open save file; without one it asks for a file as SaveScreenAs does.
bool SaveScreen(HWND owner, CTarlinData& data);
// Asks for a text file, makes it the save file (emptied) and writes the screen into it. A file
// that cannot be made leaves no save file.
bool SaveScreenAs(HWND owner, CTarlinData& data);
