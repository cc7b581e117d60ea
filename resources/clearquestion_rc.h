// The question whether to clear the screen at disconnecting.
#ifndef CLEARQUESTION_RC_H
#define CLEARQUESTION_RC_H

#define IDD_CLEAR_QUESTION 1200
#define IDC_CLEAR_QUESTION_TEXT 32910
#define IDC_CLEAR_QUESTION_ICON 32911
// The answers are the buttons' ids: always no, no, yes, always yes.
#define IDC_CLEAR_NEVER 2
#define IDC_CLEAR_NO 7
#define IDC_CLEAR_YES 6
#define IDC_CLEAR_ALWAYS 1

#endif
