#include "clearoptionsdialog_win32.h"

#include "clearoptions_rc.h"
#include "tarlindata.h"

CClearOptionsDialog::CClearOptionsDialog(void* owner, CTarlinData* data)
    : CMyDialog(IDD_CLEAR_OPTIONS, nullptr, owner), m_data(data) {}

CClearOptionsDialog::~CClearOptionsDialog() = default;

LRESULT CClearOptionsDialog::OnInitDialog() {
    SetWindowTextA(" Tarlin ");
    unsigned int chosen = IDC_CLEAR_OPTION_ASK;
    if (m_data != nullptr && m_data->GetAlwaysClear() == 1)
        chosen = IDC_CLEAR_OPTION_ALWAYS;
    else if (m_data != nullptr && m_data->GetAlwaysWithoutClear() == 1)
        chosen = IDC_CLEAR_OPTION_NEVER;
    CheckDlgButton(chosen, BST_CHECKED);
    return 1;
}

LRESULT CClearOptionsDialog::OnCommand(WPARAM wParam, LPARAM) {
    switch (LOWORD(wParam)) {
    case IDOK: Apply(); return 1;
    case IDCANCEL: EndDialog(IDCANCEL); return 1;
    default: return 0;
    }
}

void CClearOptionsDialog::Apply() {
    if (m_data != nullptr) {
        if (IsDlgButtonChecked(IDC_CLEAR_OPTION_ALWAYS) == BST_CHECKED)
            m_data->SetAlwaysClear();
        else if (IsDlgButtonChecked(IDC_CLEAR_OPTION_NEVER) == BST_CHECKED)
            m_data->SetAlwaysWithoutClear();
        else
            m_data->SetAskAtDisconnect();
    }
    EndDialog(IDOK);
}
