// The icon choice of the shortcut dialogs: a preview, "<<", ">>" and the icon's name.
#pragma once

#include "shortcut.h"

#include <windows.h>

// Shows the chosen icon in the dialog's four items and enables the buttons that can move.
void ShowIconChoice(HWND dialog, const CIconChoice& icon);
// Handles "<<" and ">>"; false for any other command.
bool HandleIconCommand(HWND dialog, unsigned id, CIconChoice& icon);
