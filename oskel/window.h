// Window objects: the handle wrapper and the window whose messages reach virtual handlers.
// Texts are cp1250; the windows themselves are wide, so Czech shows on any code page.
#pragma once

#include "dynstring.h"

#include <windows.h>

class CMyApplication;
class CMyData;

class OSKEL_API CMyWindowObject : public CMyResourceObject {
public:
    CMyWindowObject();
    ~CMyWindowObject() override;

    static void SetApplication(CMyApplication* application);
    CMyApplication* GetSaveApplication() const;
    HWND GetSafeHandle() const;
    int SaveHandle(void* handle);

    int GetClientRect(RECT* rect);
    int GetWindowRect(RECT* rect);
    int GetFrameRect(RECT* rect);
    int MessageBoxA(const char* text, const char* caption, unsigned int type);
    int InvalidateRect(RECT* rect, int erase);
    HMENU LoadMenuA(unsigned int id);
    HMENU GetMenu();
    int SetWindowPos(void* after, int x, int y, int cx, int cy, unsigned int flags);
    int SetWindowPos(void* after, RECT* rect, unsigned int flags);
    int DestroyWindow();
    HDC GetWindowDC();
    HDC GetDC();
    int ReleaseDC(void* dc);
    int GetWindowRgn(void* region);
    int SetWindowRgn(void* region, int redraw);
    int GetWindowTextLengthA();
    int GetWindowTextA(char* buffer, int size);
    int SetWindowTextA(const char* text);
    LRESULT SendMessageA(unsigned int message, WPARAM wParam, LPARAM lParam);
    int SetFont(void* font, int redraw);
    HWND SetFocus();
    int EnableMenuItem(unsigned int item, unsigned int flags);
    int EnableMenuItem(unsigned int item, int enable);
    int CheckMenuItem(unsigned int item, unsigned int flags);
    int CheckMenuItem(unsigned int item, int check);
    int WinHelpA(const char* file, unsigned int command, ULONG_PTR data);
    int GetScrollPos(int bar);
    int SetScrollPos(int bar, int pos, int redraw);
    int SetScrollRange(int bar, int min, int max, int redraw);
    UINT_PTR SetTimer(unsigned int id, unsigned int ms, TIMERPROC procedure);
    int KillTimer(unsigned int id);
    HDC BeginPaint(PAINTSTRUCT* paint);
    int EndPaint(PAINTSTRUCT* paint);

    static CMyApplication* m_pApplication;

protected:
    HWND m_hWnd;
};

class OSKEL_API CMyWindow : public CMyWindowObject {
public:
    explicit CMyWindow(const char* className);
    explicit CMyWindow(unsigned int templateId);
    CMyWindow(const char* className, void* procedure);
    CMyWindow(unsigned int templateId, void* procedure);
    CMyWindow(unsigned int templateId, void* procedure, void* parent);
    ~CMyWindow() override;
    CMyWindow(const CMyWindow&) = delete;
    CMyWindow& operator=(const CMyWindow&) = delete;

    void Init(const char* className, unsigned int templateId, void* procedure, void* parent);

    virtual int Create(const char* title, unsigned long style, void* parent, unsigned int menuId,
                       unsigned int iconId, unsigned int smallIconId, RECT* rect);
    virtual int CreateEx(const char* title, unsigned long style, unsigned long exStyle,
                         void* parent, unsigned int menuId, unsigned int iconId,
                         unsigned int smallIconId, RECT* rect);
    virtual int Show(int command);
    virtual LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnActivateApp(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnCancelMode();
    virtual LRESULT OnChar(char c, unsigned long data);
    virtual LRESULT OnClose();
    virtual LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnContextMenu(void* window, int x, int y);
    // The creation record is the wide one whatever the caller's UNICODE setting: the library
    // makes its windows wide.
    virtual LRESULT OnCreate(CREATESTRUCTW* create);
    virtual LRESULT OnDestroy();
    virtual LRESULT OnEraseBkgnd(void* dc);
    virtual LRESULT OnGetMinMaxInfo(MINMAXINFO* info);
    virtual LRESULT OnHelp(HELPINFO* help);
    virtual LRESULT OnHScroll(unsigned short code, unsigned short pos, void* control);
    virtual LRESULT OnKeyDown(WPARAM key, LPARAM data);
    virtual LRESULT OnKeyUp(WPARAM key, LPARAM data);
    virtual LRESULT OnLButtonDown(WPARAM keys, int x, int y);
    virtual LRESULT OnLButtonUp(WPARAM keys, int x, int y);
    virtual LRESULT OnMenuSelect(unsigned int item, unsigned int flags, void* menu);
    virtual LRESULT OnMouseMove(WPARAM keys, int x, int y);
    virtual LRESULT OnMouseWheel(unsigned short keys, int delta, int x, int y);
    virtual LRESULT OnMove(int x, int y);
    virtual LRESULT OnNCActivate(WPARAM active, LPARAM lParam);
    virtual LRESULT OnNCCreate(CREATESTRUCTW* create);
    virtual LRESULT OnNCDestroy();
    virtual LRESULT OnNCHitTest(int x, int y);
    virtual LRESULT OnNCLButtonDblClk(WPARAM hit, int x, int y);
    virtual LRESULT OnNCLButtonDown(WPARAM hit, int x, int y);
    virtual LRESULT OnNCPaint(void* region);
    virtual LRESULT OnNotify(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnPaint(void* dc);
    virtual LRESULT OnPrint(void* dc, LPARAM flags);
    virtual LRESULT OnRButtonUp(WPARAM keys, int x, int y);
    virtual LRESULT OnSetCursor(void* window, unsigned short hit, unsigned short message);
    virtual LRESULT OnSetText(const char* text);
    virtual LRESULT OnSettingChange(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnSize(WPARAM type, unsigned short width, unsigned short height);
    virtual LRESULT OnSizing(WPARAM edge, LPARAM rect);
    virtual LRESULT OnSysCommand(WPARAM command, int x, int y);
    virtual LRESULT OnTimer(WPARAM id, TIMERPROC procedure);
    virtual LRESULT OnVScroll(unsigned short code, unsigned short pos, void* control);
    virtual LRESULT OnWindowPosChanged(WINDOWPOS* position);
    virtual LRESULT OnOtherMessage(unsigned int message, WPARAM wParam, LPARAM lParam);
    // Nonzero class identifier, 0 on failure. A class that this module has already
    // registered (by another object of the same class) counts as registered.
    virtual ATOM RegisterMyWindow(void* instance);
    virtual ATOM RegisterMyWindow(WNDCLASSEXA* description);

    int CreateMyWindow(void* instance, const char* title, unsigned long style, RECT* rect,
                       void* menu);
    int CreateMyWindowEx(void* instance, const char* title, unsigned long style,
                         unsigned long exStyle, RECT* rect, void* menu);

    int ShowWindow(int command);
    LRESULT Paint();
    HINSTANCE GetSafeInstance() const;
    CMyData* GetSaveData() const;
    int EnableWindow(int enable);
    int IsWindowEnabled() const;
    int GetParentClientRect(RECT* rect);
    int GetParentWindowRect(RECT* rect);
    HWND SetParent(void* parent);
    HWND GetParent() const { return m_hParent; }
    WNDPROC GetWndProc() const { return m_procedure; }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // What every handler's default does: the message goes to the previous procedure of a
    // wrapped control, or to the platform's default procedure.
    LRESULT Forward(UINT message, WPARAM wParam, LPARAM lParam);
    // Dispatch of CMyWindow's own message table; `handled` is 0 for messages outside it.
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam, int* handled);
    // The part of the table that windows and dialogs share.
    LRESULT DispatchShared(UINT message, WPARAM wParam, LPARAM lParam, int* handled);
    LRESULT DispatchSetText(LPARAM lParam);
    // The stored handle is a live window that still reaches this object.
    bool HoldsBoundWindow() const;
    // Destroys that window without letting its last messages reach this object (whose
    // derived parts are gone in a destructor), and forgets the handle.
    void DetachAndDestroy();
    const wchar_t* ClassNameOrAtom(wchar_t* buffer, int size) const;
    int CreatePlatformWindow(void* instance, const char* title, unsigned long style,
                             unsigned long exStyle, RECT* rect, void* menu);
    int CreateCommon(const char* title, unsigned long style, unsigned long exStyle, void* parent,
                     unsigned int menuId, unsigned int iconId, unsigned int smallIconId, RECT* rect,
                     int extended);

    HWND m_hParent;
    WNDPROC m_procedure;
    WNDPROC m_previousProcedure;
    unsigned int m_menuId;
    unsigned int m_smallIconId;
    unsigned int m_iconId;
    unsigned int m_templateId;
    CDynString m_className;
    int m_registered;
    int m_created;
    int m_enabled;
};
