#include "initdialog_win32.h"

#include "comm.h"
#include "wide_win32.h"
#include "help_win32.h"
#include "initdialog_rc.h"
#include "mydata.h"
#include "portsetting.h"
#include "tarlin_rc.h"

#include <cstdio>

namespace {

const char kTitle[] = "Tarlin - nastavení portu";
const char kNotice[] = "Port není dostupný nebo jej používá jiná aplikace.";
const char kInformation[] =
    "V rámci nastavení portu lze určit parametry připojení:\n\t- port\n\t- komunikační "
    "rychlost\n\t- počet datových bitů\n\t- paritu\n\nNastavení lze určit i jako součást "
    "příkazové řádky např:\n\ttarlin.exe -c COM1 38400 8 0\n\nVíce informací lze najít v "
    "nápovědě (F1) nebo v nápovědě příkazové řádky (tarlin.exe /?)";
const int kNoticeGrowth = 50;

const unsigned int kLineControls[] = {IDC_BAUD_RATE_LABEL, IDC_BAUD_RATE_LIST, IDC_BYTE_SIZE_LABEL,
                                      IDC_BYTE_SIZE_LIST,  IDC_PARITY_LABEL,   IDC_PARITY_NAME_LIST,
                                      IDC_PORT_OK};

} // namespace

CInitDialog::CInitDialog(void* owner) : CMyDialog(IDD_PORT_SETTINGS, nullptr, owner) {}

CInitDialog::~CInitDialog() = default;

LRESULT CInitDialog::OnInitDialog() {
    GetWindowRect(&m_rect);
    SetTexts();
    RECT notice{5, 145, (m_rect.right - m_rect.left) - 10, 195};
    m_notice.Create(kNotice, 0x50000050, m_hWnd, IDC_PORT_NOTICE, 0, 0, &notice);
    FillLists();
    ShowCurrentState();
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetFocus();
    return 0;
}

void CInitDialog::SetTexts() {
    SetWindowTextA(kTitle);
    SetDlgItemTextA(IDC_PORT_LABEL, "Port:");
    SetDlgItemTextA(IDC_BAUD_RATE_LABEL, "Bity za sekundu:");
    SetDlgItemTextA(IDC_BYTE_SIZE_LABEL, "Datové bity:");
    SetDlgItemTextA(IDC_PARITY_LABEL, "Parita:");
    SetDlgItemTextA(IDC_PORT_OK, "OK");
    SetDlgItemTextA(IDC_PORT_CANCEL, "Storno");
    SetDialogButtonIcon(IDC_PORT_HELP, IDI_HELP_BUTTON);
    SetDialogButtonFocusedIcon(IDC_PORT_HELP, IDI_HELP_BUTTON_FOCUSED);
}

void CInitDialog::FillLists() {
    char text[32];
    for (int n = 1; n <= kPortCount; ++n) {
        std::snprintf(text, sizeof text, "COM%d", n);
        oskel::SendTextMessage(GetDlgItem(IDC_PORT_LIST), CB_ADDSTRING, 0, text);
    }
    for (int32_t rate : kBaudRates) {
        std::snprintf(text, sizeof text, "%d", static_cast<int>(rate));
        oskel::SendTextMessage(GetDlgItem(IDC_BAUD_RATE_LIST), CB_ADDSTRING, 0, text);
    }
    for (const char* bits : kByteSizeNames)
        oskel::SendTextMessage(GetDlgItem(IDC_BYTE_SIZE_LIST), CB_ADDSTRING, 0, bits);
    for (int parity = 0; parity <= 4; ++parity)
        oskel::SendTextMessage(GetDlgItem(IDC_PARITY_NAME_LIST), CB_ADDSTRING, 0,
                               GetParityName(parity));
}

bool CInitDialog::ShowCurrentState() {
    if (m_port == nullptr) return false;
    const LRESULT index = oskel::SendTextMessage(GetDlgItem(IDC_PORT_LIST), CB_FINDSTRINGEXACT,
                                                 static_cast<WPARAM>(-1), m_port->GetPortName());
    if (index == CB_ERR) return false;
    ::SendMessageW(GetDlgItem(IDC_PORT_LIST), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    m_port->Reopen(1);
    const bool usable = m_port->IsOpen() == 1;
    if (usable) {
        char text[32];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(m_port->GetBaudRate()));
        SelectByPrefix(IDC_BAUD_RATE_LIST, text);
        std::snprintf(text, sizeof text, "%d", static_cast<int>(m_port->GetByteSize()));
        SelectByPrefix(IDC_BYTE_SIZE_LIST, text);
        SelectByPrefix(IDC_PARITY_NAME_LIST, GetParityName(m_port->GetParity()));
    }
    ShowPortUsable(usable);
    return true;
}

// A prefix search after the first entry that wraps round; the first entry when none fits.
void CInitDialog::SelectByPrefix(unsigned int list, const char* text) {
    if (oskel::SendTextMessage(GetDlgItem(list), CB_SELECTSTRING, 0, text) == CB_ERR)
        ::SendMessageW(GetDlgItem(list), CB_SETCURSEL, 0, 0);
}

void CInitDialog::ShowPortUsable(bool usable) {
    for (unsigned int id : kLineControls)
        EnableDialogItem(id, usable ? 1 : 0);
    const int width = m_rect.right - m_rect.left;
    const int height = m_rect.bottom - m_rect.top + (usable ? 0 : kNoticeGrowth);
    SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CInitDialog::OnCommand(WPARAM wParam, LPARAM) {
    switch (LOWORD(wParam)) {
    case IDC_PORT_LIST:
        if (HIWORD(wParam) == CBN_SELCHANGE) ChoosePort();
        return 1;
    case IDOK:
    case IDC_PORT_OK: Apply(); return 1;
    case IDCANCEL:
    case IDC_PORT_CANCEL: EndDialog(IDCANCEL); return 1;
    case IDC_PORT_HELP: ShowInformation(); return 1;
    default: return 0;
    }
}

void CInitDialog::ChoosePort() {
    char name[32] = {};
    GetDlgItemTextA(IDC_PORT_LIST, name, sizeof name);
    if (m_port == nullptr) return;
    if (m_port->Open(name, 1) == 1) ShowCurrentState();
    if (!ShowCurrentState()) MessageBoxA("Nepodařilo se změnit položku.", " Tarlin ", MB_OK);
}

void CInitDialog::Apply() {
    while (!ApplyOnce()) {
        if (MessageBoxA("Nepodařilo se nastavit zvolené parametry. Použít parametry znovu?",
                        " Tarlin ", MB_OKCANCEL) != IDOK)
            return;
        if (m_port != nullptr) m_port->ClearErrors();
    }
    EndDialog(IDOK);
}

bool CInitDialog::ApplyOnce() {
    int baudOk = 0, bitsOk = 0;
    const unsigned int baud = GetDlgItemInt(IDC_BAUD_RATE_LIST, &baudOk, 0);
    const unsigned int bits = GetDlgItemInt(IDC_BYTE_SIZE_LIST, &bitsOk, 0);
    const LRESULT parity = ::SendMessageW(GetDlgItem(IDC_PARITY_NAME_LIST), CB_GETCURSEL, 0, 0);
    if (!baudOk || !bitsOk || parity == CB_ERR || m_port == nullptr) return false;
    return m_port->SetParameters(static_cast<int32_t>(baud), static_cast<int32_t>(bits),
                                 static_cast<int32_t>(parity)) == CComm::kOk;
}

void CInitDialog::ShowInformation() {
    MessageBoxA(kInformation, kTitle, MB_OK | MB_ICONINFORMATION);
}

LRESULT CInitDialog::OnHelp(HELPINFO*) {
    CMyData* data = GetSaveData();
    OpenHelp(m_hWnd, data != nullptr ? data->GetPath() : nullptr, kHelpPortAndPowerCycle);
    return 1;
}

LRESULT CInitDialog::OnMyColoredTextGetTextParam(WPARAM id, MY_COLORED_TEXT_STRUCT* parameters) {
    if (id != IDC_PORT_NOTICE || parameters == nullptr)
        return CMyDialog::OnMyColoredTextGetTextParam(id, parameters);
    parameters->red = 0;
    parameters->green = 128;
    parameters->blue = 255;
    parameters->bold = 1;
    return 1;
}
