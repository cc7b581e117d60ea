// Records the library's own module instance when the process attaches it.
#include "mydata.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) CMyData::SetInstanceDLL(instance);
    return TRUE;
}
