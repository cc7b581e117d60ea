// Writes a shortcut file (.lnk) through the shell's link object.
#pragma once

#include <string>

struct ShortcutProperties {
    std::string target;        // the program file
    std::string workingFolder; // the folder it starts in
    int iconIndex = 0;         // an icon of the program file
    std::string arguments;
    std::string description;
};

enum ShortcutResult : int {
    kShortcutSaved = 1,
    kShortcutNoShell = 0,        // the shell's object library could not be initialised
    kShortcutNoLinkObject = -1,  // the link object could not be made
    kShortcutNoPersistence = -2, // it offers no way to save itself
    kShortcutNotSaved = -3,      // the file could not be written (in use, read-only, ...)
};

// The running program as the target, started in workingFolder with one of its own icons.
// False when the program's file name cannot be had.
bool ProgramShortcut(const char* workingFolder, int iconIndex, ShortcutProperties& properties);

// Texts are cp1250; the link stores them in Unicode, so Czech letters survive on any system.
int WriteShortcutFile(const char* fileName, const ShortcutProperties& properties);

// Tells the user how it went, as a message box owned by owner. Returns true when the user is
// to choose another file name (the file could not be written).
bool ReportShortcutResult(void* owner, int result);
