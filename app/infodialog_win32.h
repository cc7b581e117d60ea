// Connection information: the port's current setting, read only.
#pragma once

#include "dialog.h"

class CComm;

class CInfoDialog : public CMyDialog {
public:
    explicit CInfoDialog(void* owner);
    ~CInfoDialog() override;

    void SetPort(CComm* port) { m_port = port; }

    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnInitDialog() override;

private:
    CComm* m_port = nullptr;
};
