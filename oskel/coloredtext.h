// Static text whose colour and weight its parent decides at every repaint.
#pragma once

#include "coloredtextparam.h"
#include "controlwindow.h"
#include "gdiobject.h"

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
    // The shared objects by index: the font, the bold font, the brush.
    static constexpr int kSharedCount = 3;
    static CMyResidentObject& Shared(int index);

    CDynString m_text;
    MY_COLORED_TEXT_STRUCT m_parameters;
    int m_referenced; // bit i: a reference to Shared(i) is held
};
