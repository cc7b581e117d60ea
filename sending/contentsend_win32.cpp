#include "contentsend_win32.h"

#include "filedialog.h"
#include "windowtext_win32.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

const wchar_t kTitle[] = L" Tarlin ";

class CReadFile {
public:
    explicit CReadFile(const char* path)
        : m_handle(::CreateFileW(oskel::ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~CReadFile() {
        if (IsOpen()) ::CloseHandle(m_handle);
    }
    CReadFile(const CReadFile&) = delete;
    CReadFile& operator=(const CReadFile&) = delete;

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    // Bytes read; 0 at the end of the file or when the read fails.
    DWORD Read(char* buffer, DWORD size) {
        DWORD read = 0;
        return ::ReadFile(m_handle, buffer, size, &read, nullptr) ? read : 0;
    }

private:
    HANDLE m_handle;
};

class CClipboard {
public:
    explicit CClipboard(HWND owner) : m_open(::OpenClipboard(owner) != FALSE) {}
    ~CClipboard() {
        if (m_open) ::CloseClipboard();
    }
    CClipboard(const CClipboard&) = delete;
    CClipboard& operator=(const CClipboard&) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open;
};

} // namespace

void RequestCursorRow(HWND owner, ISendingData& data) {
    if (owner != nullptr)
        ::SendMessageW(owner, WM_VSCROLL,
                       MAKEWPARAM(0xFFFF, static_cast<WORD>(data.GetCursorRow())), 0);
}

int SendFileContent(HWND owner, ISendingData& data, int chunkSize) {
    CMyFileDialog dialog(owner, 0, -1, nullptr);
    dialog.SetFilter("All files\0*.*\0", 1);
    dialog.SetDefaultExt("*");
    if (dialog.Show(-1) != 1) return kContentCancelled;
    return SendFileContentOf(owner, dialog.GetFileName(), data, chunkSize);
}

// A failed write does not stop the file: the port reports nothing more useful than the echo.
int SendFileContentOf(HWND owner, const char* path, ISendingData& data, int chunkSize) {
    CReadFile file(path);
    if (!file.IsOpen()) {
        const std::string text = std::string("Soubor ") + path + " se nepodařilo otevřít!";
        ::MessageBoxW(owner, oskel::ToWide(text.c_str()).c_str(), kTitle, MB_OK | MB_ICONERROR);
        return kContentCannotOpen;
    }
    std::vector<char> chunk(static_cast<size_t>(std::max(chunkSize, kContentChunk)));
    int total = 0;
    while (const DWORD read = file.Read(chunk.data(), static_cast<DWORD>(chunk.size()))) {
        data.SendData(chunk.data(), static_cast<int>(read));
        total += static_cast<int>(read);
    }
    RequestCursorRow(owner, data);
    return total;
}

// The text is taken in its Unicode form and sent as cp1250, so Czech letters arrive the same
// whatever code page Windows runs with.
int SendClipboardText(HWND owner, ISendingData& data) {
    CClipboard clipboard(owner);
    if (!clipboard.IsOpen()) return 0;
    HANDLE text = ::GetClipboardData(CF_UNICODETEXT);
    if (text == nullptr) return 0;
    const auto* locked = static_cast<const wchar_t*>(::GlobalLock(text));
    if (locked == nullptr) return 0;
    const std::string narrow = oskel::ToCp1250(locked);
    ::GlobalUnlock(text);
    data.SendText(narrow.c_str());
    return 1;
}

bool IsClipboardTextAvailable(HWND owner) {
    CClipboard clipboard(owner);
    return clipboard.IsOpen() &&
           (::IsClipboardFormatAvailable(CF_UNICODETEXT) || ::IsClipboardFormatAvailable(CF_TEXT));
}
