// Program entry.
#include "codepage.h"
#include "mydata.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

void PrintUtf8Line(const char* label, const char* text) {
    if (text == nullptr) text = "";
    const int size = OskelCp1250ToUtf8(text, nullptr, 0);
    std::vector<char> utf8(static_cast<size_t>(size));
    OskelCp1250ToUtf8(text, utf8.data(), size);
    std::printf("%s=%s\n", label, utf8.data());
}

bool HasSwitch(const wchar_t* name) {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    bool found = false;
    for (int i = 1; args != nullptr && i < count; ++i) found = found || wcscmp(args[i], name) == 0;
    LocalFree(args);
    return found;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    dummy();
    CMyData data;
    const int initialised = data.InitData();
    if (HasSwitch(L"--print-data")) {
        PrintUtf8Line("path", data.GetPath());
        PrintUtf8Line("user", data.GetUserNameA());
        PrintUtf8Line("program", data.GetAppFileName());
        std::fflush(stdout);
    }
    return initialised ? 0 : 1;
}
