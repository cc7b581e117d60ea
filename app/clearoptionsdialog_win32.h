// Whether disconnecting clears the screen: always, after asking, or never.
#pragma once

#include "dialog.h"

class CTarlinData;

class CClearOptionsDialog : public CMyDialog {
public:
    CClearOptionsDialog(void* owner, CTarlinData* data);
    ~CClearOptionsDialog() override;

    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnInitDialog() override;

private:
    void Apply();

    CTarlinData* m_data;
};
