// Stands in for a browser in the GUI tests: appends its command line (UTF-8) to the file
// named by TARLIN_PAGE_RECORD and ends.
#include <windows.h>

#include <cstdio>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
    wchar_t record[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"TARLIN_PAGE_RECORD", record, MAX_PATH) == 0) return 1;
    char line[4096] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, arguments, -1, line, sizeof line - 2, nullptr, nullptr);
    FILE* file = _wfopen(record, L"ab");
    if (file == nullptr) return 1;
    std::fprintf(file, "%s\n", line);
    std::fclose(file);
    return 0;
}
