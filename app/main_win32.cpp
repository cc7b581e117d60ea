// Program entry: the argument text goes to the application as cp1250, whatever code page
// Windows runs with.
#include "wide_win32.h"
#include "tarlinapp_win32.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
    dummy();
    const std::string text = oskel::ToCp1250(arguments);
    CTarlinApp application(instance);
    return application.Run(text.c_str());
}
