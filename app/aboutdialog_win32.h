// About: the program's name and version, the systems and ports it was tested with, and the
// logo as the link to the maker's web page.
#pragma once

#include "coloredtext.h"
#include "dialog.h"

class CAboutDialog : public CMyDialog {
public:
    explicit CAboutDialog(void* owner);
    ~CAboutDialog() override;

    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnLButtonDown(WPARAM keys, int x, int y) override;
    LRESULT OnMouseMove(WPARAM keys, int x, int y) override;
    LRESULT OnSetCursor(void* window, unsigned short hit, unsigned short message) override;
    LRESULT OnInitDialog() override;
    LRESULT OnMyColoredTextGetTextParam(WPARAM id, MY_COLORED_TEXT_STRUCT* parameters) override;

    static const char kVersionText[];
    static const char kWebAddress[];

private:
    // The library's dialog procedure leaves the cursor message to the platform; this one
    // gives it to OnSetCursor first, so the hand stays over the logo.
    static INT_PTR CALLBACK AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool IsOverLogo(int x, int y);
    void OpenWebPage();

    int m_overLink = 0;
    CDynString m_webAddress;
    HCURSOR m_hand = nullptr;
    CMyColoredText m_version;
};
