// The one tooltip window that all controls of the process share: made once, told about each
// control, and fed the mouse messages by which it times its showing.
#pragma once

#include <windows.h>

namespace oskel {

// A new top-most tooltip window, already active; null when it cannot be made.
HWND CreateSharedToolTip(HINSTANCE instance);
// Registers control with the tooltip; its text is asked of parent whenever it is shown.
LRESULT AddToolTip(HWND toolTip, HWND control, HWND parent);
// Hands one mouse message of control to the tooltip.
void RelayToToolTip(HWND toolTip, HWND control, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace oskel
