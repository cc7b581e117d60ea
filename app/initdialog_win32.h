// The port-settings dialog: choose the port, baud rate, data bits and parity. A chosen port
// is opened at once; the line parameters become the port's when OK applies them.
#pragma once

#include "coloredtext.h"
#include "dialog.h"

class CComm;

class CInitDialog : public CMyDialog {
public:
    explicit CInitDialog(void* owner);
    ~CInitDialog() override;

    void SetPort(CComm* port) { m_port = port; }

    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnHelp(HELPINFO* help) override;
    LRESULT OnInitDialog() override;
    LRESULT OnMyColoredTextGetTextParam(WPARAM id, MY_COLORED_TEXT_STRUCT* parameters) override;

    // The port names offered: "COM1" ... "COM16".
    static constexpr int kPortCount = 16;

private:
    void SetTexts();
    void FillLists();
    // False when the stored port name is not in the list (the dialog keeps its look).
    bool ShowCurrentState();
    void ShowPortUsable(bool usable);
    void SelectByPrefix(unsigned int list, const char* text);
    void ChoosePort();
    void Apply();
    bool ApplyOnce();
    void ShowInformation();

    CComm* m_port = nullptr;
    CMyColoredText m_notice;
    RECT m_rect{};
};
