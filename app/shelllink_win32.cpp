#include "shelllink_win32.h"

#include "wide_win32.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

namespace {

const wchar_t kTitle[] = L" Tarlin ";

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
    link->SetWorkingDirectory(oskel::ToWide(properties.workingFolder.c_str()).c_str());
    link->SetPath(oskel::ToWide(properties.target.c_str()).c_str());
    link->SetIconLocation(oskel::ToWide(properties.target.c_str()).c_str(), properties.iconIndex);
    link->SetArguments(oskel::ToWide(properties.arguments.c_str()).c_str());
    link->SetDescription(oskel::ToWide(properties.description.c_str()).c_str());
}

} // namespace

// The program's real file: a working folder that differs from the program's own (version.ini
// found where the program was started) must not make the shortcut point at nothing.
bool ProgramShortcut(const char* workingFolder, int iconIndex, ShortcutProperties& properties) {
    wchar_t module[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, module, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return false;
    properties.target = oskel::ToCp1250(module);
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
    const std::wstring name = oskel::ToWide(fileName);
    if (name.empty() || name.size() > MAX_PATH) return kShortcutNotSaved;
    return SUCCEEDED(file->Save(name.c_str(), TRUE)) ? kShortcutSaved : kShortcutNotSaved;
}

bool ReportShortcutResult(void* owner, int result) {
    HWND window = static_cast<HWND>(owner);
    switch (result) {
    case kShortcutSaved:
        ::MessageBoxW(window, oskel::ToWide("Zástupce (.lnk) byl úspěšně vytvořen!").c_str(),
                      kTitle, MB_OK | MB_ICONINFORMATION);
        return false;
    case kShortcutNoLinkObject:
        ::MessageBoxW(window, oskel::ToWide("Zástupce (.lnk) nemohl být úspěšně vytvořen!").c_str(),
                      kTitle, MB_OK | MB_ICONERROR);
        return false;
    case kShortcutNoPersistence:
        ::MessageBoxW(
            window,
            oskel::ToWide("Zástupce (.lnk) nemohl být úspěšně vytvořen, nepodařilo se získat "
                          "příslušné rozhraní.")
                .c_str(),
            kTitle, MB_OK | MB_ICONWARNING);
        return false;
    case kShortcutNotSaved:
        ::MessageBoxW(
            window,
            oskel::ToWide("Zástupce (.lnk) nemohl být úspěšně vytvořen, vybraný soubor je asi "
                          "používán.\nPokračujte výběrem jiného souboru k uložení odkazu.")
                .c_str(),
            kTitle, MB_OK | MB_ICONWARNING);
        return true;
    default: return false; // no shell: nothing to say
    }
}
