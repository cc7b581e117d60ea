#include "iconchooser_win32.h"

#include "savelinkdialog_rc.h"
#include "wide_win32.h"

// The icons are the program's own, so they come from its module whatever dialog shows them.
void ShowIconChoice(HWND dialog, const CIconChoice& icon) {
    HICON image = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                  MAKEINTRESOURCEW(icon.GetResourceId()),
                                                  IMAGE_ICON, 32, 32, LR_SHARED));
    ::SendDlgItemMessageW(dialog, IDC_ICON_PREVIEW, STM_SETICON, reinterpret_cast<WPARAM>(image),
                          0);
    ::SetWindowTextW(::GetDlgItem(dialog, IDC_ICON_NAME), oskel::ToWide(icon.GetName()).c_str());
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
