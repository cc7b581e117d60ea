// Child controls: their own message procedure, the shared tooltip and commands to the parent.
#pragma once

#include "window.h"

struct MY_COLORED_TEXT_STRUCT;

class OSKEL_API CMyControlWindow : public CMyWindow {
public:
    explicit CMyControlWindow(const char* className);
    CMyControlWindow(const char* className, void* procedure);
    ~CMyControlWindow() override;

    int Create(const char* title, unsigned long style, void* parent, unsigned int id,
               unsigned int iconId, unsigned int smallIconId, RECT* rect) override;
    LRESULT OnLButtonDown(WPARAM keys, int x, int y) override;
    LRESULT OnLButtonUp(WPARAM keys, int x, int y) override;
    LRESULT OnMouseMove(WPARAM keys, int x, int y) override;
    LRESULT OnRButtonUp(WPARAM keys, int x, int y) override;
    LRESULT OnOtherMessage(unsigned int message, WPARAM wParam, LPARAM lParam) override;

    virtual void AfterCreate();
    virtual LRESULT OnCut();
    virtual LRESULT OnEnable(int enable);
    virtual LRESULT OnKillFocus(void* window);
    virtual LRESULT OnLButtonDoubleClick(WPARAM keys, int x, int y);
    virtual LRESULT OnMouseLeave();
    virtual LRESULT OnMyColoredTextGetTextParam(WPARAM id, MY_COLORED_TEXT_STRUCT* parameters);
    virtual LRESULT OnPaste();
    virtual LRESULT OnRButtonDown(WPARAM keys, int x, int y);
    virtual LRESULT OnSetFocus(void* window);
    virtual LRESULT OnUndo();

    static int CreateToolTip();
    static LRESULT EnableToolTip(void* control, void* parent);
    LRESULT EnableToolTip();
    int SendParentCommand(unsigned short code);

    static LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam);

    static HWND m_hToolTip;

protected:
    LRESULT DispatchControl(UINT message, WPARAM wParam, LPARAM lParam);
    // Mouse messages reach the shared tooltip so that it can time its showing.
    void RelayToToolTip(UINT message, WPARAM wParam, int x, int y);

    unsigned int m_controlId;
};
