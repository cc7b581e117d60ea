// Dialogs from the program's templates, shown modally or modelessly, with item helpers.
#pragma once

#include "window.h"

struct MY_COLORED_TEXT_STRUCT;

// State bits of a dialog.
enum : unsigned long {
    MY_DIALOG_MODAL = 1,
    MY_DIALOG_MODELESS = 2,
    MY_DIALOG_SHOWN = 4,
};

class OSKEL_API CMyDialog : public CMyWindow {
public:
    explicit CMyDialog(unsigned int templateId);
    CMyDialog(unsigned int templateId, DLGPROC procedure);
    CMyDialog(unsigned int templateId, DLGPROC procedure, void* parent);
    ~CMyDialog() override;

    int Create(const char* title, unsigned long style, void* parent, unsigned int menuId,
               unsigned int iconId, unsigned int smallIconId, RECT* rect) override;
    int Show(int mode) override;
    LRESULT OnClose() override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCreate(CREATESTRUCTW* create) override;
    LRESULT OnDestroy() override;
    LRESULT OnEraseBkgnd(void* dc) override;
    LRESULT OnHelp(HELPINFO* help) override;
    LRESULT OnLButtonDown(WPARAM keys, int x, int y) override;
    LRESULT OnLButtonUp(WPARAM keys, int x, int y) override;
    LRESULT OnNCActivate(WPARAM active, LPARAM lParam) override;
    LRESULT OnNCCreate(CREATESTRUCTW* create) override;
    LRESULT OnNCLButtonDown(WPARAM hit, int x, int y) override;
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnSetCursor(void* window, unsigned short hit, unsigned short message) override;
    LRESULT OnSize(WPARAM type, unsigned short width, unsigned short height) override;

    virtual INT_PTR ShowModalDialog();
    virtual int ShowModelessDialog(int showCommand);
    virtual int CloseModelessDialog();
    virtual LRESULT OnExitSizeMove();
    virtual LRESULT OnInitDialog();
    virtual LRESULT OnLButtonDblClk(WPARAM keys, int x, int y);
    virtual LRESULT OnMoving(RECT* rect, WPARAM edge);
    virtual LRESULT OnMyColoredTextGetTextParam(WPARAM id, MY_COLORED_TEXT_STRUCT* parameters);
    virtual LRESULT OnNCLButtonUp(WPARAM hit, int x, int y);
    virtual LRESULT OnQuit(int code);

    int EndDialog(INT_PTR result);
    int DestroyWindow();
    LRESULT InitDialog();
    void Init();
    DLGPROC GetDialogProc() const { return &DialogProc; }
    unsigned long GetState() const { return m_state; }

    HWND GetDlgItem(unsigned int id);
    unsigned int GetDlgItemInt(unsigned int id, int* ok, int isSigned);
    int SetDlgItemInt(unsigned int id, unsigned int value, int isSigned);
    int SetDlgItemTextA(unsigned int id, const char* text);
    int GetDlgItemTextA(unsigned int id, char* buffer, int size);
    unsigned int IsDlgButtonChecked(unsigned int id);
    int CheckDlgButton(unsigned int id, unsigned int state);
    int EnableDialogItem(unsigned int id, int enable);
    static int EnableDialogItem(void* dialog, unsigned int id, int enable);
    int SetDialogItemFocus(unsigned int id);
    int SetDialogItemIcon(unsigned int id, unsigned int iconId);
    int SetDlgItemIcon(unsigned int id, unsigned int iconId);
    int SetDialogButtonIcon(unsigned int id, unsigned int iconId);
    int SetDialogButtonFocusedIcon(unsigned int id, unsigned int iconId);
    int SetDialogButtonBitmap(unsigned int id, unsigned int bitmapId);
    int GetDialogItemRect(unsigned int id, RECT* rect);
    int InvalidateItem(unsigned int id);
    // corner: 9 top-left, 12 top-right, 3 bottom-left, 6 bottom-right (clock positions)
    int MoveItemRelative(unsigned int id, int dx, int dy, unsigned char corner, RECT* out);
    int MoveItemResize(unsigned int id, int left, int top, int right, int bottom, RECT* out);

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    LRESULT DispatchDialog(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT AnswerColoredText(WPARAM id, LPARAM record);
    // A window destroyed behind the object's back (with its owner, or at the end of a modal
    // run) leaves a stale handle: forget it, so that the dialog can be shown again.
    void ForgetLostWindow();
    int SetStaticIcon(unsigned int id, HINSTANCE instance, unsigned int iconId);
    int SetButtonImage(unsigned int id, unsigned int iconId, WPARAM imageType);

    unsigned long m_state;
    char* m_title;
};
