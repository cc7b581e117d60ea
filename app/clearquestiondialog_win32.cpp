#include "clearquestiondialog_win32.h"

#include "clearquestion_rc.h"

CClearQuestionDialog::CClearQuestionDialog(void* owner)
    : CMyDialog(IDD_CLEAR_QUESTION, nullptr, owner) {}

CClearQuestionDialog::~CClearQuestionDialog() = default;

LRESULT CClearQuestionDialog::OnInitDialog() {
    HICON question = ::LoadIconW(nullptr, MAKEINTRESOURCEW(32514)); // the system's question
    ::SendMessageW(GetDlgItem(IDC_CLEAR_QUESTION_ICON), STM_SETICON,
                   reinterpret_cast<WPARAM>(question), 0);
    SetWindowTextA(" Tarlin ");
    // Enter answers "Ano": the focus starts on it rather than on the first button.
    SetDialogItemFocus(IDC_CLEAR_YES);
    return 0;
}

LRESULT CClearQuestionDialog::OnCommand(WPARAM wParam, LPARAM) {
    const unsigned int id = LOWORD(wParam);
    if (id != IDC_CLEAR_NEVER && id != IDC_CLEAR_NO && id != IDC_CLEAR_YES &&
        id != IDC_CLEAR_ALWAYS)
        return 0;
    EndDialog(id);
    return 1;
}
