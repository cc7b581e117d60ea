// Opening the program's help: at its contents or at a numbered topic. TarlinHelp.hlp goes
// through WinHelp where it lies in the data folder; otherwise the HTML pages shipped next to
// the program open in the browser through the shell, at the topic's anchor.
#pragma once

#include <windows.h>

enum HelpTopic { kHelpContents = 0, kHelpPortAndPowerCycle = 40, kHelpChat = 60 };

// dataFolder: the folder where version.ini was found (cp1250). False when nothing opened.
bool OpenHelp(HWND owner, const char* dataFolder, int topic);
