#include "infodialog_win32.h"

#include "comm.h"
#include "infodialog_rc.h"
#include "portsetting.h"

CInfoDialog::CInfoDialog(void* owner) : CMyDialog(IDD_CONNECTION_INFO, nullptr, owner) {}

CInfoDialog::~CInfoDialog() = default;

// A closed port leaves every field empty.
LRESULT CInfoDialog::OnInitDialog() {
    if (m_port == nullptr || m_port->IsOpen() != 1) return 1;
    SetDlgItemTextA(IDC_INFO_PORT, m_port->GetPortName());
    SetDlgItemInt(IDC_INFO_BAUD_RATE, static_cast<unsigned int>(m_port->GetBaudRate()), 0);
    SetDlgItemInt(IDC_INFO_BYTE_SIZE, static_cast<unsigned int>(m_port->GetByteSize()), 0);
    SetDlgItemTextA(IDC_INFO_PARITY, GetParityName(m_port->GetParity()));
    SetDlgItemTextA(IDC_INFO_PORT_LABEL, "Port:");
    SetDlgItemTextA(IDC_INFO_BAUD_RATE_LABEL, "Bity za sekundu:");
    SetDlgItemTextA(IDC_INFO_BYTE_SIZE_LABEL, "Datové bity:");
    SetDlgItemTextA(IDC_INFO_PARITY_LABEL, "Parita:");
    SetDlgItemTextA(IDC_INFO_OK, "OK");
    SetWindowTextA("Informace o připojení");
    return 1;
}

LRESULT CInfoDialog::OnCommand(WPARAM wParam, LPARAM) {
    const unsigned int id = LOWORD(wParam);
    if (id != IDOK && id != IDCANCEL && id != IDC_INFO_OK) return 0;
    EndDialog(id);
    return 1;
}
