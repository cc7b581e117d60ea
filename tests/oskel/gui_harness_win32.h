// Shared pieces of the library's GUI tests: the application object, message pumping,
// window queries and screenshots of the (virtual) screen.
#pragma once

#include "application.h"

#include <string>

namespace guitest {

// The process's one application object, with the test program as its instance.
CMyApplication& App();
HINSTANCE Instance();

// Dispatches this thread's messages for about ms milliseconds.
void Pump(int ms);

// Takes a picture of the whole screen into the artefacts folder under name (.png).
// Returns false when the picture could not be taken.
bool Screenshot(const char* name);

// Counts the pixels of the window's client area whose colour matches the predicate.
int CountPixels(HWND window, bool (*match)(COLORREF));

std::wstring WindowText(HWND window);

// A visible top-level window of a class of its own, for dialogs and controls to live in;
// a null rectangle leaves position and size to the system.
class TopWindow : public CMyWindow {
public:
    TopWindow(const char* className, const char* title, const RECT* rect);
};

} // namespace guitest
