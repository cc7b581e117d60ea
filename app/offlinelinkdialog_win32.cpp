#include "offlinelinkdialog_win32.h"

#include "filedialog.h"
#include "iconchooser_win32.h"
#include "offlinelinkdialog_rc.h"
#include "shelllink_win32.h"
#include "tarlindata.h"
#include "wide_win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* const kBaudRates[] = {
    "110",    "300",    "600",    "1200",   "2400",   "4800",    "9600",    "14400",   "19200",
    "38400",  "56000",  "57600",  "62500",  "76800",  "115200",  "128000",  "192000",  "230400",
    "256000", "384000", "460800", "512000", "921600", "1000000", "1024000", "1843200", "3000000"};
const char* const kDataBits[] = {"5", "6", "7", "8"};
const char* const kParities[] = {"Žádná (NO)", "Lichá (ODD)", "Sudá (EVEN)", "Značka (MARK)",
                                 "Mezera (SPACE)"};
const char kMissingFile[] =
    "Není vybrán nahrávaný soubor!\n\nK výběru souboru použij tlačítko '...'.\t";

template <size_t N> void Fill(HWND list, const char* const (&texts)[N]) {
    for (const char* text : texts)
        ::SendMessageW(list, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(oskel::ToWide(text).c_str()));
    ::SendMessageW(list, CB_SETCURSEL, 0, 0);
}

} // namespace

COfflineLinkDialog::COfflineLinkDialog(void* parent, CTarlinData* data, CIconChoice& icon)
    : CMyDialog(IDD_SHORTCUT_BUILDER, nullptr, parent), m_data(data), m_icon(icon) {}

LRESULT COfflineLinkDialog::OnInitDialog() {
    FillLists();
    CheckDlgButton(IDC_BUILDER_CHOOSE_AT_START, BST_CHECKED);
    CheckDlgButton(IDC_BUILDER_ECHO, BST_CHECKED);
    UpdateFileItems();
    ShowIconChoice(m_hWnd, m_icon);
    return 1;
}

void COfflineLinkDialog::FillLists() {
    HWND ports = GetDlgItem(IDC_BUILDER_PORT);
    char name[8];
    for (int n = 1; n <= 16; ++n) {
        std::snprintf(name, sizeof name, "COM%d", n);
        ::SendMessageW(ports, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(oskel::ToWide(name).c_str()));
    }
    ::SendMessageW(ports, CB_SETCURSEL, 0, 0);
    Fill(GetDlgItem(IDC_BUILDER_BAUD), kBaudRates);
    Fill(GetDlgItem(IDC_BUILDER_DATA_BITS), kDataBits);
    Fill(GetDlgItem(IDC_BUILDER_PARITY), kParities);
}

// The file, its button and RST belong to "Nahrát soubor" only.
void COfflineLinkDialog::UpdateFileItems() {
    const bool thisFile = Checked(IDC_BUILDER_THIS_FILE);
    for (unsigned id : {IDC_BUILDER_FILE, IDC_BUILDER_BROWSE, IDC_BUILDER_RESET})
        EnableDialogItem(id, thisFile);
}

LRESULT COfflineLinkDialog::OnCommand(WPARAM wParam, LPARAM) {
    const unsigned id = LOWORD(wParam);
    switch (id) {
    case IDOK:
    case IDC_BUILDER_SAVE: return Save(), 1;
    case IDCANCEL:
    case IDC_BUILDER_CLOSE: return EndDialog(id == IDCANCEL ? IDCANCEL : IDC_BUILDER_CLOSE), 1;
    case IDC_BUILDER_BROWSE: return ChooseFile(), 1;
    case IDC_BUILDER_NO_FILE:
    case IDC_BUILDER_CHOOSE_AT_START:
    case IDC_BUILDER_THIS_FILE: return UpdateFileItems(), 1;
    default: return HandleIconCommand(m_hWnd, id, m_icon) ? 1 : 0;
    }
}

void COfflineLinkDialog::ChooseFile() {
    CMyFileDialog dialog(m_hWnd, 0, -1, nullptr);
    dialog.SetFilter("Modul files\0*.mhx\0All files\0*.*\0", 1);
    dialog.SetDefaultExt("mhx");
    if (dialog.Show(-1) != 1) return;
    SetDlgItemTextA(IDC_BUILDER_FILE, dialog.GetFileName());
    const WPARAM end = std::strlen(dialog.GetFileName());
    ::SendMessageW(GetDlgItem(IDC_BUILDER_FILE), EM_SETSEL, end, static_cast<LPARAM>(end));
    SetDialogItemFocus(IDC_BUILDER_FILE);
}

BuiltShortcut COfflineLinkDialog::ReadChoices() {
    BuiltShortcut shortcut;
    shortcut.port.name = ListText(IDC_BUILDER_PORT);
    shortcut.port.baudRate = std::atoi(ListText(IDC_BUILDER_BAUD).c_str());
    shortcut.port.dataBits = std::atoi(ListText(IDC_BUILDER_DATA_BITS).c_str());
    shortcut.port.parity = ListIndex(IDC_BUILDER_PARITY);
    shortcut.upload = Checked(IDC_BUILDER_THIS_FILE)
                          ? BuiltShortcut::kThisFile
                          : (Checked(IDC_BUILDER_NO_FILE) ? BuiltShortcut::kNoFile
                                                          : BuiltShortcut::kChooseAtStart);
    shortcut.file = ItemText(IDC_BUILDER_FILE);
    shortcut.reset = Checked(IDC_BUILDER_RESET);
    shortcut.closeWhenDone = Checked(IDC_BUILDER_CLOSE_WHEN_DONE);
    shortcut.chatMode = Checked(IDC_BUILDER_CHAT_MODE);
    shortcut.echo = Checked(IDC_BUILDER_ECHO);
    shortcut.hexOutput = Checked(IDC_BUILDER_HEX);
    shortcut.noAutoScroll = Checked(IDC_BUILDER_NO_SCROLL);
    return shortcut;
}

void COfflineLinkDialog::Save() {
    const BuiltShortcut shortcut = ReadChoices();
    if (shortcut.upload == BuiltShortcut::kThisFile && shortcut.file.size() < 3) {
        ::MessageBoxW(m_hWnd, oskel::ToWide(kMissingFile).c_str(),
                      oskel::ToWide("Tvorba zástupců").c_str(), MB_OK | MB_ICONWARNING);
        return;
    }
    ShortcutProperties properties;
    const bool program = ProgramShortcut(m_data != nullptr ? m_data->GetPath() : "",
                                         m_icon.GetIconIndex(), properties);
    properties.arguments = BuiltShortcutArguments(shortcut);
    properties.description = BuiltShortcutDescription(shortcut);
    for (;;) {
        CMyFileDialog dialog(m_hWnd, 1, -1, nullptr);
        dialog.SetFilter("Link files\0*.lnk\0All files\0*.*\0", 1);
        dialog.SetDefaultExt("lnk");
        dialog.SetFileName("tarlin.lnk");
        if (dialog.Show(-1) != 1) return;
        const int result =
            program ? WriteShortcutFile(dialog.GetFileName(), properties) : kShortcutNoLinkObject;
        if (!ReportShortcutResult(m_hWnd, result)) return;
    }
}

std::string COfflineLinkDialog::ItemText(unsigned id) {
    HWND item = GetDlgItem(id);
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
    ::GetWindowTextW(item, &text[0], static_cast<int>(text.size()));
    return oskel::ToCp1250(text.c_str());
}

std::string COfflineLinkDialog::ListText(unsigned id) {
    HWND list = GetDlgItem(id);
    const LRESULT index = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (index < 0) return std::string();
    std::wstring text(static_cast<size_t>(::SendMessageW(list, CB_GETLBTEXTLEN, index, 0)) + 1,
                      L'\0');
    ::SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    return oskel::ToCp1250(text.c_str());
}

int COfflineLinkDialog::ListIndex(unsigned id) {
    return static_cast<int>(::SendMessageW(GetDlgItem(id), CB_GETCURSEL, 0, 0));
}

INT_PTR RunShortcutBuilder(HWND owner, CTarlinData& data, CIconChoice& icon) {
    COfflineLinkDialog dialog(owner, &data, icon);
    dialog.Create("Tvorba zástupců", 0, owner, 0, 0, 0, nullptr);
    return dialog.Show(-1);
}
