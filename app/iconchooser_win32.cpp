#include "iconchooser_win32.h"

#include "codepage.h"
#include "savelinkdialog_rc.h"

#include <string>

namespace {

void SetText(HWND window, const char* text) {
    const int size = OskelCp1250ToWide(text, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    OskelCp1250ToWide(text, reinterpret_cast<unsigned short*>(&wide[0]), size);
    ::SetWindowTextW(window, wide.c_str());
}

} // namespace

// The icons are the program's own, so they come from its module whatever dialog shows them.
void ShowIconChoice(HWND dialog, const CIconChoice& icon) {
    HICON image = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                  MAKEINTRESOURCEW(icon.GetResourceId()),
                                                  IMAGE_ICON, 32, 32, LR_SHARED));
    ::SendDlgItemMessageW(dialog, IDC_ICON_PREVIEW, STM_SETICON, reinterpret_cast<WPARAM>(image),
                          0);
    SetText(::GetDlgItem(dialog, IDC_ICON_NAME), icon.GetName());
    ::EnableWindow(::GetDlgItem(dialog, IDC_ICON_BACK), icon.CanGoBack());
    ::EnableWindow(::GetDlgItem(dialog, IDC_ICON_ON), icon.CanGoOn());
}

bool HandleIconCommand(HWND dialog, unsigned id, CIconChoice& icon) {
    if (id == IDC_ICON_BACK)
        icon.Back();
    else if (id == IDC_ICON_ON)
        icon.On();
    else
        return false;
    ShowIconChoice(dialog, icon);
    return true;
}
