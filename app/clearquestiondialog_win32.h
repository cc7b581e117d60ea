// The question at disconnecting: clear the screen now, never, or always from now on.
// The result is the answer's button id (Esc and the close box: "Vždy NE").
#pragma once

#include "dialog.h"

class CClearQuestionDialog : public CMyDialog {
public:
    explicit CClearQuestionDialog(void* owner);
    ~CClearQuestionDialog() override;

    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnInitDialog() override;
};
