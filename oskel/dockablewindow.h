// A tool window holding one content window, docked to an inner edge of a container or
// floating; the user drags it by its caption, Ctrl prevents docking, Escape cancels.
#pragma once

#include "dockgeometry.h"
#include "window.h"

// Dock flags.
enum : unsigned long {
    MY_DOCK_LEFT = 0x01,
    MY_DOCK_RIGHT = 0x02,
    MY_DOCK_TOP = 0x04,
    MY_DOCK_BOTTOM = 0x08,
    MY_DOCK_GRIPPER_DOCKED = 0x10,
    MY_DOCK_GRIPPER_FLOATING = 0x20,
    MY_DOCK_NO_CAPTION_DRAG = 0x40,
    MY_DOCK_FIXED_EDGE = 0x80,
    MY_DOCK_GUARD = 0x100,
    MY_DOCK_CLOSE_HIDES = 0x200,
    MY_DOCK_HIDDEN = 0x80000000UL,
};

// In the style given to Create/CreateEx: the floating window has no owner.
const unsigned long MY_DOCK_NO_OWNER = 0x800;

struct MY_DOCK_PARAMS {
    HWND container;
    HWND dockWindow;
    int active;
    LPARAM other; // -1: synchronisation sent by a sibling
};

class OSKEL_API CMyDockableWindow : public CMyWindow {
public:
    CMyDockableWindow();
    ~CMyDockableWindow() override;

    int Create(const char* title, unsigned long style, void* parent, unsigned int menuId,
               unsigned int iconId, unsigned int smallIconId, RECT* rect) override;
    int CreateEx(const char* title, unsigned long style, unsigned long exStyle, void* parent,
                 unsigned int menuId, unsigned int iconId, unsigned int smallIconId,
                 RECT* rect) override;
    LRESULT OnCancelMode() override;
    LRESULT OnClose() override;
    LRESULT OnEraseBkgnd(void* dc) override;
    LRESULT OnGetMinMaxInfo(MINMAXINFO* info) override;
    LRESULT OnLButtonUp(WPARAM keys, int x, int y) override;
    LRESULT OnMouseMove(WPARAM keys, int x, int y) override;
    LRESULT OnNCActivate(WPARAM active, LPARAM lParam) override;
    LRESULT OnNCDestroy() override;
    LRESULT OnNCHitTest(int x, int y) override;
    LRESULT OnNCLButtonDblClk(WPARAM hit, int x, int y) override;
    LRESULT OnNCLButtonDown(WPARAM hit, int x, int y) override;
    LRESULT OnSettingChange(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnWindowPosChanged(WINDOWPOS* position) override;
    ATOM RegisterMyWindow(void* instance) override;
    ATOM RegisterMyWindow(WNDCLASSEXA* description) override;

    void InitDockInfo();
    void InitDock(char side);
    void ShowDock();
    static void UpdateContainer(void* container);
    void ResizeDockWindow(RECT* r);
    void RedrawDockingState();
    void SetFloatingWindowPos(unsigned int flags);
    void CalcFloatingSize();
    void DrawDragFrame();
    int CheckDockingPos();
    static void DrawGripper(void* dc, RECT* r);
    LRESULT DockingActivate(MY_DOCK_PARAMS* params);

    // The hosted window (a tool bar, for example): sized to fill this window.
    void SetContentWindow(HWND content) { m_content = content; }
    HWND GetContentWindow() const { return m_content; }
    signed char GetSide() const { return m_side; }
    unsigned long GetDockFlags() const { return m_dockFlags; }
    void SetDockFlags(unsigned long flags) { m_dockFlags = flags; }
    short GetDockedSize() const { return m_dockedSize; }

    static LRESULT CALLBACK MyDockableWindowDragHookProc(int code, WPARAM wParam, LPARAM lParam);
    static BOOL CALLBACK ActivateProc(HWND window, LPARAM lParam);
    static BOOL CALLBACK SyncActivateProc(HWND window, LPARAM lParam);

    static int m_nControlKeyDown;
    static int m_nMouseMoved;
    static HWND m_hDraggingDockWnd;
    static HHOOK m_lpOriginalDockHookProc;
    static ATOM m_aDockingFrameAtom;
    static WORD m_wDotPatternBmp1[8];
    static WORD m_wDotPatternBmp2[8];

protected:
    static constexpr int kSides =
        oskel::kDockLeft | oskel::kDockRight | oskel::kDockTop | oskel::kDockBottom;
    bool IsFloating() const { return (m_side & oskel::kDockFloat) != 0; }
    int DockedSide() const { return m_side & kSides; }
    void ApplyStyles();
    void EndDrag();
    static CMyDockableWindow* FromWindow(HWND window);

    unsigned long m_dockFlags;
    short m_floatX, m_floatY;
    short m_floatClientWidth, m_floatClientHeight;
    short m_dockedSize;
    HWND m_content;
    HWND m_own;
    HWND m_container;
    short m_floatWindowWidth, m_floatWindowHeight;
    signed char m_side;
    RECT m_drag;
    unsigned char m_dockedPreview;
    int m_mouseX;
    int m_mouseY;
    HWND m_resizing;
};
