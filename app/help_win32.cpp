#include "help_win32.h"

#include "wide_win32.h"
#include "tarlin_rc.h"

#include <shellapi.h>

#include <string>

namespace {

const wchar_t kHelpFile[] = L"\\TarlinHelp.hlp";

bool FileExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    const size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash);
}

const char* Anchor(int topic) {
    switch (topic) {
    case kHelpPortAndPowerCycle: return HELP_ANCHOR_TOPIC40;
    case kHelpChat: return HELP_ANCHOR_TOPIC60;
    default: return HELP_ANCHOR_CONTENTS;
    }
}

// The page in the data folder, else the one shipped next to the program.
std::wstring FindPage(const char* dataFolder) {
    const std::wstring name = L"\\" + oskel::ToWide(TARLIN_HELP_FILE);
    for (const std::wstring& folder : {oskel::ToWide(dataFolder), ProgramFolder()})
        if (!folder.empty() && FileExists(folder + name)) return folder + name;
    return std::wstring();
}

std::wstring FileUrl(const std::wstring& path) {
    std::wstring url = L"file:///";
    for (wchar_t c : path) {
        if (c == L'\\')
            url += L'/';
        else if (c == L' ')
            url += L"%20";
        else if (c == L'#')
            url += L"%23";
        else
            url += c;
    }
    return url;
}

bool OpenWinHelp(HWND owner, const std::wstring& file, int topic) {
    if (topic == kHelpContents) return ::WinHelpW(owner, file.c_str(), HELP_CONTENTS, 0) != 0;
    return ::WinHelpW(owner, file.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(topic)) != 0;
}

// The browser gets the page with its anchor; a shell that only knows how to open the file
// opens it at the top.
bool OpenPage(HWND owner, const std::wstring& page, int topic) {
    wchar_t browser[MAX_PATH] = {};
    const std::wstring folder = page.substr(0, page.find_last_of(L'\\'));
    if (reinterpret_cast<INT_PTR>(::FindExecutableW(page.c_str(), folder.c_str(), browser)) > 32) {
        const std::wstring url =
            L"\"" + FileUrl(page) + L"#" + oskel::ToWide(Anchor(topic)) + L"\"";
        return reinterpret_cast<INT_PTR>(::ShellExecuteW(owner, L"open", browser, url.c_str(),
                                                         folder.c_str(), SW_SHOWNORMAL)) > 32;
    }
    return reinterpret_cast<INT_PTR>(::ShellExecuteW(owner, L"open", page.c_str(), nullptr,
                                                     folder.c_str(), SW_SHOWNORMAL)) > 32;
}

} // namespace

bool OpenHelp(HWND owner, const char* dataFolder, int topic) {
    const std::wstring winHelp = oskel::ToWide(dataFolder) + kHelpFile;
    if (dataFolder != nullptr && FileExists(winHelp)) return OpenWinHelp(owner, winHelp, topic);
    const std::wstring page = FindPage(dataFolder);
    return !page.empty() && OpenPage(owner, page, topic);
}
