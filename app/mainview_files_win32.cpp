// Saving and printing the screen and the shortcuts. They come with the sending and
// shortcut dialogs; until then these commands do nothing.
#include "mainview_win32.h"

void CMainView::SaveScreen() {}

void CMainView::SaveScreenAs() {}

void CMainView::PrintScreen() {}

void CMainView::CreateCurrentShortcut() {}

void CMainView::ShowShortcutBuilder() {}
