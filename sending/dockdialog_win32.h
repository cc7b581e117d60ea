// The small floating frame that hosts the chat line while it is undocked. Its moves are
// reported to the main window, which shows where the chat line would dock.
#pragma once

#include "dialog.h"

class CDockDialog : public CMyDialog {
public:
    explicit CDockDialog(void* parent = nullptr);

    // The hosted window (the chat line) and the main-window command that reports moves:
    // notification 0 while moving, 1 when a move has ended; lParam the frame's window.
    void SetHosted(HWND hosted) { m_hosted = hosted; }
    void SetMoveCommand(unsigned command) { m_moveCommand = command; }
    // The user is dragging the frame by its caption.
    bool IsDragged() const { return m_pressed; }

    LRESULT OnClose() override;
    LRESULT OnMove(int x, int y) override;
    LRESULT OnNCLButtonDblClk(WPARAM hit, int x, int y) override;
    LRESULT OnNCLButtonDown(WPARAM hit, int x, int y) override;
    LRESULT OnExitSizeMove() override;
    LRESULT OnInitDialog() override;

private:
    void ReportMove(WORD notification);

    HWND m_hosted = nullptr;
    bool m_pressed = false;
    unsigned m_moveCommand = 0;
    RECT m_rect = {0, 0, 0, 0};
};
