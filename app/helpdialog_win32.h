// The command-line help dialog of "-h" and "/?": the switches' help texts drawn in the
// terminal's font, scrolled by two scroll bars and the wheel. Its result is the button that
// closed it: 1 "Pokračovat", 2 "Ukončit aplikaci" (also Esc and the close box).
#pragma once

#include "dialog.h"

class CHelpDialog : public CMyDialog {
public:
    // Pixels of the client area that the text leaves to the vertical bar (right) and to the
    // horizontal bar and the buttons (bottom); pixels per scroll position.
    static constexpr int kRightMargin = 15;
    static constexpr int kBottomMargin = 57;
    static constexpr int kLineHeight = 14;
    static constexpr int kColumnWidth = 8;
    static constexpr int kPageStep = 10;

    explicit CHelpDialog(void* owner);
    ~CHelpDialog() override;

    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnHScroll(unsigned short code, unsigned short pos, void* control) override;
    LRESULT OnInitDialog() override;
    LRESULT OnMouseWheel(unsigned short keys, int delta, int x, int y) override;
    LRESULT OnPaint(void* dc) override;
    LRESULT OnVScroll(unsigned short code, unsigned short pos, void* control) override;

    // The text and the ranges of the two bars; for the command-line help and its tests.
    static bool BuildText(CDynString& text);
    static int VerticalRange(const char* text);
    static int HorizontalRange();

private:
    void PlaceScrollBars();
    // The scroll bar's position after the action, within 0 ... range; -1 for actions that
    // do not move it.
    int NextPosition(unsigned short code, unsigned short pos, int current, int range) const;

    CDynString m_text;
    int m_horizontalRange = 0;
    int m_verticalRange = 0;
    int m_step = 1;
    bool m_built = false;
};
