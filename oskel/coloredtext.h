// Static text whose colour and weight its parent decides at every repaint.
#pragma once

#include "application.h"
#include "gdiobject.h"

// Message by which a coloured text asks its parent: wParam the control's id, lParam the
// address of a zeroed MY_COLORED_TEXT_STRUCT to fill.
const UINT MY_COLORED_TEXT_GETTEXTPARAM = WM_USER + 1;

#pragma pack(push, 1)
struct MY_COLORED_TEXT_STRUCT {
    unsigned char red;
    unsigned char green;
    unsigned char blue;
    int bold;
};
#pragma pack(pop)

class OSKEL_API CMyColoredText : public CMyControlWindow {
public:
    CMyColoredText();
    ~CMyColoredText() override;

    LRESULT OnDestroy() override;
    LRESULT OnEraseBkgnd(void* dc) override;
    LRESULT OnPaint(void* dc) override;
    void AfterCreate() override;

    // Text-drawing format for the control's own style bits (the low eight).
    static unsigned int StyleConvert(unsigned long style);

    static CMyResidentBrush m_hBrush;
    static CMyResidentFont m_hBoldFont;
    static CMyResidentFont m_hFont;

protected:
    CDynString m_text;
    MY_COLORED_TEXT_STRUCT m_parameters;
    int m_referenced;
};
