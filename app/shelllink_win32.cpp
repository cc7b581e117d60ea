#include "shelllink_win32.h"

#include "codepage.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

namespace {

const wchar_t kTitle[] = L" Tarlin ";

std::wstring Wide(const std::string& text) {
    const int size = OskelCp1250ToWide(text.c_str(), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    OskelCp1250ToWide(text.c_str(), reinterpret_cast<unsigned short*>(&wide[0]), size);
    wide.resize(wide.size() - 1);
    return wide;
}

// The object library for the life of one shortcut.
class CComLibrary {
public:
    CComLibrary() : m_ready(SUCCEEDED(::CoInitialize(nullptr))) {}
    ~CComLibrary() {
        if (m_ready) ::CoUninitialize();
    }
    CComLibrary(const CComLibrary&) = delete;
    CComLibrary& operator=(const CComLibrary&) = delete;
    bool IsReady() const { return m_ready; }

private:
    bool m_ready;
};

// One reference to a COM interface, released at the end of its scope.
template <typename Interface> class CComRef {
public:
    CComRef() = default;
    ~CComRef() {
        if (m_pointer != nullptr) m_pointer->Release();
    }
    CComRef(const CComRef&) = delete;
    CComRef& operator=(const CComRef&) = delete;
    Interface* operator->() const { return m_pointer; }
    Interface** Receive() { return &m_pointer; }
    bool IsSet() const { return m_pointer != nullptr; }

private:
    Interface* m_pointer = nullptr;
};

void SetProperties(IShellLinkW* link, const ShortcutProperties& properties) {
    link->SetWorkingDirectory(Wide(properties.workingFolder).c_str());
    link->SetPath(Wide(properties.target).c_str());
    link->SetIconLocation(Wide(properties.target).c_str(), properties.iconIndex);
    link->SetArguments(Wide(properties.arguments).c_str());
    link->SetDescription(Wide(properties.description).c_str());
}

} // namespace

// The program's real file: a working folder that differs from the program's own (version.ini
// found where the program was started) must not make the shortcut point at nothing.
bool ProgramShortcut(const char* workingFolder, int iconIndex, ShortcutProperties& properties) {
    wchar_t module[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, module, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return false;
    char target[3 * MAX_PATH + 3] = {};
    OskelWideToCp1250(reinterpret_cast<const unsigned short*>(module), target, sizeof target);
    properties.target = target;
    properties.workingFolder = workingFolder != nullptr ? workingFolder : "";
    properties.iconIndex = iconIndex;
    return true;
}

int WriteShortcutFile(const char* fileName, const ShortcutProperties& properties) {
    CComLibrary library;
    if (!library.IsReady()) return kShortcutNoShell;
    CComRef<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(link.Receive()))) ||
        !link.IsSet())
        return kShortcutNoLinkObject;
    SetProperties(link.operator->(), properties);
    CComRef<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Receive()))) ||
        !file.IsSet())
        return kShortcutNoPersistence;
    const std::wstring name = Wide(fileName != nullptr ? fileName : "");
    if (name.empty() || name.size() > MAX_PATH) return kShortcutNotSaved;
    return SUCCEEDED(file->Save(name.c_str(), TRUE)) ? kShortcutSaved : kShortcutNotSaved;
}

bool ReportShortcutResult(void* owner, int result) {
    HWND window = static_cast<HWND>(owner);
    switch (result) {
    case kShortcutSaved:
        ::MessageBoxW(window, Wide("Zástupce (.lnk) byl úspěšně vytvořen!").c_str(), kTitle,
                      MB_OK | MB_ICONINFORMATION);
        return false;
    case kShortcutNoLinkObject:
        ::MessageBoxW(window, Wide("Zástupce (.lnk) nemohl být úspěšně vytvořen!").c_str(), kTitle,
                      MB_OK | MB_ICONERROR);
        return false;
    case kShortcutNoPersistence:
        ::MessageBoxW(window,
                      Wide("Zástupce (.lnk) nemohl být úspěšně vytvořen, nepodařilo se získat "
                           "příslušné rozhraní.")
                          .c_str(),
                      kTitle, MB_OK | MB_ICONWARNING);
        return false;
    case kShortcutNotSaved:
        ::MessageBoxW(window,
                      Wide("Zástupce (.lnk) nemohl být úspěšně vytvořen, vybraný soubor je asi "
                           "používán.\nPokračujte výběrem jiného souboru k uložení odkazu.")
                          .c_str(),
                      kTitle, MB_OK | MB_ICONWARNING);
        return true;
    default: return false; // no shell: nothing to say
    }
}
