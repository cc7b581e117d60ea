#include "savelinkdialog_win32.h"

#include "iconchooser_win32.h"
#include "savelinkdialog_rc.h"
#include "shelllink_win32.h"
#include "tarlindata.h"
#include "wide_win32.h"

#include <string>

namespace {

struct OptionBox {
    unsigned id;
    unsigned bit;
};

const OptionBox kBoxes[] = {
    {IDC_LINK_LOADED_FILE, kShortcutLoadedFile},
    {IDC_LINK_PORT_SETTING, kShortcutPortSetting},
    {IDC_LINK_NO_CONNECT_DIALOG, kShortcutNoConnectDialog},
    {IDC_LINK_NO_POWER_CYCLE, kShortcutNoPowerCycle},
    {IDC_LINK_RESET, kShortcutReset},
    {IDC_LINK_HELP, kShortcutHelp},
    {IDC_LINK_CHAT_MODE, kShortcutChatMode},
};

bool Checked(HWND window, unsigned id) {
    return ::IsDlgButtonChecked(window, static_cast<int>(id)) == BST_CHECKED;
}

void Enable(HWND window, unsigned id, bool enable) {
    ::EnableWindow(::GetDlgItem(window, static_cast<int>(id)), enable);
}

CurrentShortcut Describe(CTarlinData& data, unsigned options) {
    CurrentShortcut shortcut;
    shortcut.connected = data.IsPortOpen() == 1;
    shortcut.port = {data.GetPortName(), data.GetBaudRate(), data.GetByteSize(), data.GetParity()};
    if (data.IsModuleFileOpen() && data.GetModuleFileName() != nullptr)
        shortcut.file = data.GetModuleFileName();
    shortcut.options = options;
    return shortcut;
}

} // namespace

// The hook finds the object through the record's custom data.
CSaveLinkDialog::CSaveLinkDialog(void* owner)
    : CMyFileDialog(owner, 1, IDD_SAVE_LINK_OPTIONS, &Hook) {
    m_record.lCustData = reinterpret_cast<LPARAM>(this);
}

void CSaveLinkDialog::SetState(bool connected, bool fileLoaded) {
    m_connected = connected;
    m_fileLoaded = fileLoaded;
}

void CSaveLinkDialog::SetOwner(HWND owner) {
    m_record.hwndOwner = owner;
    SetParent(owner);
}

UINT_PTR CALLBACK CSaveLinkDialog::Hook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* record = reinterpret_cast<OPENFILENAMEW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, static_cast<LONG_PTR>(record->lCustData));
    }
    auto* self = reinterpret_cast<CSaveLinkDialog*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return 0;
    if (message == WM_INITDIALOG) self->ShowOptions(window);
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED)
        self->OnOptionCommand(window, LOWORD(wParam));
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == CDN_FILEOK)
        self->ReadOptions(window);
    return 0;
}

// Without a connection there is no port setting to use, so "no connection dialog" may apply.
void CSaveLinkDialog::ShowOptions(HWND window) {
    for (const OptionBox& box : kBoxes)
        ::CheckDlgButton(window, static_cast<int>(box.id),
                         (m_options & box.bit) ? BST_CHECKED : BST_UNCHECKED);
    Enable(window, IDC_LINK_LOADED_FILE, m_fileLoaded);
    if (!m_connected) ::CheckDlgButton(window, IDC_LINK_PORT_SETTING, BST_UNCHECKED);
    Enable(window, IDC_LINK_PORT_SETTING, m_connected);
    Enable(window, IDC_LINK_NO_CONNECT_DIALOG, !Checked(window, IDC_LINK_PORT_SETTING));
    ShowIconChoice(window, m_icon);
}

void CSaveLinkDialog::OnOptionCommand(HWND window, unsigned id) {
    if (id == IDC_LINK_PORT_SETTING)
        Enable(window, IDC_LINK_NO_CONNECT_DIALOG, !Checked(window, IDC_LINK_PORT_SETTING));
    HandleIconCommand(window, id, m_icon);
}

void CSaveLinkDialog::ReadOptions(HWND window) {
    m_options = 0;
    for (const OptionBox& box : kBoxes)
        if (Checked(window, box.id)) m_options |= box.bit;
}

int CreateCurrentShortcut(HWND owner, CTarlinData& data, CSaveLinkDialog& dialog) {
    for (;;) {
        dialog.SetOwner(owner);
        dialog.SetFilter("Link files\0*.lnk\0All files\0*.*\0", 1);
        dialog.SetDefaultExt("lnk");
        dialog.SetFileName("tarlin.lnk");
        dialog.SetState(data.IsPortOpen() == 1, data.IsModuleFileOpen());
        if (dialog.Show(-1) != 1) return 0;
        const CurrentShortcut shortcut = Describe(data, dialog.GetOptions());
        ShortcutProperties properties;
        int result = kShortcutNoLinkObject;
        if (ProgramShortcut(data.GetPath(), dialog.GetIconChoice().GetIconIndex(), properties)) {
            properties.arguments = CurrentShortcutArguments(shortcut);
            properties.description = CurrentShortcutDescription(shortcut);
            result = WriteShortcutFile(dialog.GetFileName(), properties);
        }
        if (!ReportShortcutResult(owner, result)) return result;
    }
}

int OfferShortcutForNewFile(HWND owner, CTarlinData& data, CSaveLinkDialog& dialog) {
    const int answer = ::MessageBoxW(
        owner, oskel::ToWide("Chceš s tímto novým souborem vytvořit nový odkaz?").c_str(),
        L" Tarlin ", MB_YESNO | MB_ICONQUESTION);
    return answer == IDYES ? CreateCurrentShortcut(owner, data, dialog) : 0;
}
