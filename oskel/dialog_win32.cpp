#include "dialog.h"

#include "application.h"
#include "coloredtextparam.h"
#include "wide_win32.h"

#include <cstring>
#include <new>
#include <string>

namespace {

LPARAM PackPoint(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

// Moves and sizes an item without redrawing it or touching z-order and activation.
const UINT kPlaceOnly = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

HINSTANCE ApplicationInstance() {
    return static_cast<HINSTANCE>(CMyWindowObject::m_pApplication->GetSaveInstance());
}

HINSTANCE ModuleOf(HWND window) {
    return window != nullptr
               ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE))
               : nullptr;
}

} // namespace

CMyDialog::CMyDialog(unsigned int templateId)
    : CMyWindow(templateId, reinterpret_cast<void*>(&DialogProc)) {
    Init();
}

CMyDialog::CMyDialog(unsigned int templateId, DLGPROC procedure)
    : CMyWindow(templateId,
                reinterpret_cast<void*>(procedure != nullptr ? procedure : &DialogProc)) {
    Init();
}

CMyDialog::CMyDialog(unsigned int templateId, DLGPROC procedure, void* parent)
    : CMyWindow(templateId, reinterpret_cast<void*>(procedure != nullptr ? procedure : &DialogProc),
                parent) {
    Init();
}

CMyDialog::~CMyDialog() {
    DetachAndDestroy();
    delete[] m_title;
}

void CMyDialog::Init() {
    m_state = 0;
    m_title = nullptr;
}

int CMyDialog::Create(const char* title, unsigned long, void* parent, unsigned int menuId,
                      unsigned int iconId, unsigned int smallIconId, RECT*) {
    if (m_created) {
        OutputDebugStringA("Okno dialogu je jiz vytvoreno\n");
        return 1;
    }
    if (title == nullptr) {
        OutputDebugStringA("Titulek dialogoveho okna je NULL, okno nebude vytvoreno\n");
        return 0;
    }
    const size_t length = std::strlen(title);
    char* copy = new (std::nothrow) char[length + 2];
    if (copy == nullptr) {
        OutputDebugStringA("Nepodarilo se inicializovat pamet pro titulek dialogoveho okna\n");
        return 0;
    }
    std::memcpy(copy, title, length + 1);
    delete[] m_title;
    m_title = copy;
    m_hParent = static_cast<HWND>(parent);
    m_menuId = menuId;
    m_iconId = iconId;
    m_smallIconId = smallIconId;
    return 1;
}

int CMyDialog::Show(int mode) {
    return mode == -1 ? static_cast<int>(ShowModalDialog()) : ShowModelessDialog(mode);
}

INT_PTR CMyDialog::ShowModalDialog() {
    if (m_procedure == nullptr) {
        OutputDebugStringA("DLGPROC je NULL\n");
        return -1;
    }
    HINSTANCE instance = ApplicationInstance();
    if (instance == nullptr && m_hParent == nullptr) {
        OutputDebugStringA("Nepodarilo se ziskat HINSTANCE\n");
        return -2;
    }
    if (instance == nullptr) {
        instance = ModuleOf(m_hParent);
        if (instance == nullptr) {
            OutputDebugStringA("Nepodarilo se ziskat HINSTANCE z handlu rodicovskeho okna\n");
            return -3;
        }
    }
    ForgetLostWindow();
    if (m_state & (MY_DIALOG_MODELESS | MY_DIALOG_SHOWN)) {
        OutputDebugStringA("Dialogove okno je jiz zobrazeno nebo je vytvorene jako nemodalni\n");
        return 0;
    }
    if (m_hParent == nullptr)
        OutputDebugStringA("Handle rodicovskeho okna dialogu je NULL, pouzije se implicitni\n");
    m_state |= MY_DIALOG_MODAL | MY_DIALOG_SHOWN;
    const INT_PTR result =
        ::DialogBoxParamW(instance, MAKEINTRESOURCEW(m_templateId), m_hParent,
                          reinterpret_cast<DLGPROC>(m_procedure), reinterpret_cast<LPARAM>(this));
    if (result == 0) OutputDebugStringA("hParentWnd neni platny\n");
    if (result == -1) OutputDebugStringA("Nepodarilo se vytvorit dialogove okno\n");
    m_state &= ~(MY_DIALOG_MODAL | MY_DIALOG_SHOWN);
    return result;
}

int CMyDialog::ShowModelessDialog(int showCommand) {
    if (m_procedure == nullptr) return -1;
    if (m_hParent == nullptr) return -2;
    HINSTANCE instance = ApplicationInstance() != nullptr ? ModuleOf(m_hParent) : nullptr;
    if (instance == nullptr) return -3;
    if (m_state & MY_DIALOG_MODAL) return 0;
    ForgetLostWindow();
    if (m_hWnd == nullptr) {
        m_hWnd = ::CreateDialogParamW(instance, MAKEINTRESOURCEW(m_templateId), m_hParent,
                                      reinterpret_cast<DLGPROC>(m_procedure),
                                      reinterpret_cast<LPARAM>(this));
        if (m_hWnd == nullptr) return -4;
    }
    if (m_state & MY_DIALOG_SHOWN) return 1;
    ::ShowWindow(m_hWnd, showCommand);
    m_state |= MY_DIALOG_MODELESS | MY_DIALOG_SHOWN;
    return 1;
}

int CMyDialog::CloseModelessDialog() {
    if (m_hWnd == nullptr) return -1;
    m_state &= ~(MY_DIALOG_MODELESS | MY_DIALOG_SHOWN);
    // The handle stays while the window goes: OnDestroy still reaches the dialog's items.
    ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    return 0;
}

void CMyDialog::ForgetLostWindow() {
    if ((m_state & MY_DIALOG_MODAL) || m_hWnd == nullptr || ::IsWindow(m_hWnd)) return;
    m_hWnd = nullptr;
    m_state &= ~(MY_DIALOG_MODELESS | MY_DIALOG_SHOWN);
}

int CMyDialog::EndDialog(INT_PTR result) {
    if (m_hWnd == nullptr) return 0;
    if (m_state & MY_DIALOG_MODELESS) return DestroyWindow();
    return ::EndDialog(m_hWnd, result);
}

int CMyDialog::DestroyWindow() {
    if (m_state & MY_DIALOG_MODELESS) return CloseModelessDialog();
    if (m_state & MY_DIALOG_MODAL) return EndDialog(2);
    return 0;
}

LRESULT CMyDialog::InitDialog() {
    HINSTANCE instance = ApplicationInstance();
    if (instance != nullptr) {
        HICON icon = m_iconId != 0 ? ::LoadIconW(instance, MAKEINTRESOURCEW(m_iconId)) : nullptr;
        if (icon != nullptr)
            ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        HICON small =
            m_smallIconId != 0 ? ::LoadIconW(instance, MAKEINTRESOURCEW(m_smallIconId)) : nullptr;
        if (small != nullptr)
            ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
        HMENU menu = m_menuId != 0 ? ::LoadMenuW(instance, MAKEINTRESOURCEW(m_menuId)) : nullptr;
        if (menu != nullptr) ::SetMenu(m_hWnd, menu);
    }
    if (m_title != nullptr) SetWindowTextA(m_title);
    return OnInitDialog();
}

INT_PTR CALLBACK CMyDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* object = reinterpret_cast<CMyDialog*>(lParam);
        if (object == nullptr) return 0;
        SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
        object->SaveHandle(window);
        object->m_created = 1;
        return object->InitDialog();
    }
    auto* object = reinterpret_cast<CMyDialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (object == nullptr) return 0;
    return object->DispatchDialog(message, wParam, lParam);
}

LRESULT CMyDialog::DispatchDialog(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    switch (message) {
    case WM_QUIT: return OnQuit(static_cast<int>(wParam));
    case WM_NCLBUTTONUP: return OnNCLButtonUp(wParam, x, y);
    case WM_LBUTTONDBLCLK: return OnLButtonDblClk(wParam, x, y);
    case WM_MOVING: return OnMoving(reinterpret_cast<RECT*>(lParam), wParam);
    case WM_EXITSIZEMOVE: return OnExitSizeMove();
    case MY_COLORED_TEXT_GETTEXTPARAM: return AnswerColoredText(wParam, lParam);
    default: {
        int handled = 0;
        const LRESULT result = DispatchShared(message, wParam, lParam, &handled);
        return handled ? result : 0;
    }
    }
}

// The request shares its value with DM_SETDEFID. A request (a record in lParam) is answered
// here and reported as handled, so the dialog manager never makes the text's id the default
// button; DM_SETDEFID itself (lParam 0) goes on to the dialog manager.
LRESULT CMyDialog::AnswerColoredText(WPARAM id, LPARAM record) {
    if (record == 0) return 0;
    const LRESULT result =
        OnMyColoredTextGetTextParam(id, reinterpret_cast<MY_COLORED_TEXT_STRUCT*>(record));
    SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

// --- Handler defaults: 0 lets the platform's dialog handling run ---------------------------

LRESULT CMyDialog::OnClose() {
    EndDialog(2);
    return 0;
}
LRESULT CMyDialog::OnCommand(WPARAM, LPARAM) {
    return 0;
}
LRESULT CMyDialog::OnCreate(CREATESTRUCTW*) {
    return 0;
}
LRESULT CMyDialog::OnDestroy() {
    m_created = 0;
    return 0;
}
LRESULT CMyDialog::OnEraseBkgnd(void*) {
    return 0;
}
LRESULT CMyDialog::OnHelp(HELPINFO*) {
    return 0;
}
LRESULT CMyDialog::OnLButtonDown(WPARAM keys, int x, int y) {
    return m_hWnd != nullptr ? ::DefWindowProcW(m_hWnd, WM_LBUTTONDOWN, keys, PackPoint(x, y)) : 0;
}
LRESULT CMyDialog::OnLButtonUp(WPARAM keys, int x, int y) {
    return m_hWnd != nullptr ? ::DefWindowProcW(m_hWnd, WM_LBUTTONUP, keys, PackPoint(x, y)) : 0;
}
LRESULT CMyDialog::OnNCActivate(WPARAM, LPARAM) {
    return 0;
}
LRESULT CMyDialog::OnNCCreate(CREATESTRUCTW*) {
    return 1;
}
LRESULT CMyDialog::OnNCLButtonDown(WPARAM, int, int) {
    return 0;
}
LRESULT CMyDialog::OnNotify(WPARAM, LPARAM) {
    return 0;
}
LRESULT CMyDialog::OnSetCursor(void*, unsigned short, unsigned short) {
    return 0;
}
LRESULT CMyDialog::OnSize(WPARAM, unsigned short, unsigned short) {
    return 0;
}
LRESULT CMyDialog::OnExitSizeMove() {
    return Forward(WM_EXITSIZEMOVE, 0, 0);
}
LRESULT CMyDialog::OnInitDialog() {
    return 0;
}
LRESULT CMyDialog::OnLButtonDblClk(WPARAM keys, int x, int y) {
    return Forward(WM_LBUTTONDBLCLK, keys, PackPoint(x, y));
}
LRESULT CMyDialog::OnMoving(RECT* rect, WPARAM edge) {
    return Forward(WM_MOVING, edge, reinterpret_cast<LPARAM>(rect));
}
LRESULT CMyDialog::OnMyColoredTextGetTextParam(WPARAM id, MY_COLORED_TEXT_STRUCT* parameters) {
    return Forward(MY_COLORED_TEXT_GETTEXTPARAM, id, reinterpret_cast<LPARAM>(parameters));
}
LRESULT CMyDialog::OnNCLButtonUp(WPARAM, int, int) {
    return 0;
}
LRESULT CMyDialog::OnQuit(int code) {
    return Forward(WM_QUIT, static_cast<WPARAM>(code), 0);
}

// --- Items -------------------------------------------------------------------------------

HWND CMyDialog::GetDlgItem(unsigned int id) {
    return m_hWnd != nullptr ? ::GetDlgItem(m_hWnd, static_cast<int>(id)) : nullptr;
}

unsigned int CMyDialog::GetDlgItemInt(unsigned int id, int* ok, int isSigned) {
    if (m_hWnd == nullptr) return 0;
    BOOL translated = FALSE;
    const UINT value = ::GetDlgItemInt(m_hWnd, static_cast<int>(id), &translated, isSigned);
    if (ok != nullptr) *ok = translated;
    return value;
}

int CMyDialog::SetDlgItemInt(unsigned int id, unsigned int value, int isSigned) {
    return m_hWnd != nullptr ? ::SetDlgItemInt(m_hWnd, static_cast<int>(id), value, isSigned) : 0;
}

int CMyDialog::SetDlgItemTextA(unsigned int id, const char* text) {
    if (m_hWnd == nullptr || text == nullptr) return 0;
    return ::SetDlgItemTextW(m_hWnd, static_cast<int>(id), oskel::ToWide(text).c_str());
}

int CMyDialog::GetDlgItemTextA(unsigned int id, char* buffer, int size) {
    if (m_hWnd == nullptr || buffer == nullptr || size <= 0) return 0;
    std::wstring wide(static_cast<size_t>(size), L'\0');
    if (::GetDlgItemTextW(m_hWnd, static_cast<int>(id), &wide[0], size) == 0) {
        buffer[0] = 0;
        return 0;
    }
    return oskel::ToCp1250(wide.c_str(), buffer, size);
}

unsigned int CMyDialog::IsDlgButtonChecked(unsigned int id) {
    return m_hWnd != nullptr ? ::IsDlgButtonChecked(m_hWnd, static_cast<int>(id)) : 0;
}

int CMyDialog::CheckDlgButton(unsigned int id, unsigned int state) {
    return m_hWnd != nullptr ? ::CheckDlgButton(m_hWnd, static_cast<int>(id), state) : 0;
}

int CMyDialog::EnableDialogItem(unsigned int id, int enable) {
    return EnableDialogItem(m_hWnd, id, enable);
}

int CMyDialog::EnableDialogItem(void* dialog, unsigned int id, int enable) {
    if (dialog == nullptr) return 0;
    HWND item = ::GetDlgItem(static_cast<HWND>(dialog), static_cast<int>(id));
    return item != nullptr ? ::EnableWindow(item, enable) : 0;
}

int CMyDialog::SetDialogItemFocus(unsigned int id) {
    HWND item = GetDlgItem(id);
    if (item == nullptr) return 0;
    ::SetFocus(item);
    return 1;
}

int CMyDialog::SetStaticIcon(unsigned int id, HINSTANCE instance, unsigned int iconId) {
    HWND item = GetDlgItem(id);
    if (instance == nullptr || item == nullptr) return 0;
    HICON icon = ::LoadIconW(instance, MAKEINTRESOURCEW(iconId));
    if (icon == nullptr) return 0;
    ::SendMessageW(item, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    ::DestroyIcon(icon);
    return 1;
}

int CMyDialog::SetDialogItemIcon(unsigned int id, unsigned int iconId) {
    return SetStaticIcon(id, ApplicationInstance(), iconId);
}

int CMyDialog::SetDlgItemIcon(unsigned int id, unsigned int iconId) {
    return SetStaticIcon(id, ModuleOf(m_hWnd), iconId);
}

int CMyDialog::SetButtonImage(unsigned int id, unsigned int iconId, WPARAM imageType) {
    HINSTANCE instance = ApplicationInstance();
    HWND item = GetDlgItem(id);
    if (instance == nullptr || item == nullptr) return 0;
    HICON icon = ::LoadIconW(instance, MAKEINTRESOURCEW(iconId));
    if (icon == nullptr) return 0;
    ::SendMessageW(item, BM_SETIMAGE, imageType, reinterpret_cast<LPARAM>(icon));
    ::DestroyIcon(icon);
    return 1;
}

int CMyDialog::SetDialogButtonIcon(unsigned int id, unsigned int iconId) {
    return SetButtonImage(id, iconId, IMAGE_ICON);
}

int CMyDialog::SetDialogButtonFocusedIcon(unsigned int id, unsigned int iconId) {
    return SetButtonImage(id, iconId, 1001);
}

int CMyDialog::SetDialogButtonBitmap(unsigned int id, unsigned int bitmapId) {
    HINSTANCE instance = ApplicationInstance();
    HWND item = GetDlgItem(id);
    if (instance == nullptr || item == nullptr) return 0;
    HBITMAP bitmap = ::LoadBitmapW(instance, MAKEINTRESOURCEW(bitmapId));
    if (bitmap == nullptr) return 0;
    // The button keeps the bitmap it is given; it is released with the button.
    ::SendMessageW(item, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    return 1;
}

int CMyDialog::GetDialogItemRect(unsigned int id, RECT* rect) {
    HWND item = GetDlgItem(id);
    if (item == nullptr || rect == nullptr) return 0;
    RECT screen;
    if (!::GetWindowRect(item, &screen)) return 0;
    POINT topLeft{screen.left, screen.top};
    if (!::ScreenToClient(m_hWnd, &topLeft)) return 0;
    rect->left = topLeft.x;
    rect->top = topLeft.y;
    rect->right = topLeft.x + (screen.right - screen.left);
    rect->bottom = topLeft.y + (screen.bottom - screen.top);
    return 1;
}

int CMyDialog::InvalidateItem(unsigned int id) {
    RECT rect;
    if (!GetDialogItemRect(id, &rect)) return 0;
    return ::InvalidateRect(m_hWnd, &rect, TRUE) ? 1 : 0;
}

int CMyDialog::MoveItemRelative(unsigned int id, int dx, int dy, unsigned char corner, RECT* out) {
    HWND item = GetDlgItem(id);
    if (item == nullptr) return 0;
    RECT dialog, own;
    if (!::GetClientRect(m_hWnd, &dialog) || !::GetWindowRect(item, &own)) return 0;
    const int w = own.right - own.left, h = own.bottom - own.top;
    int x = 0, y = 0;
    switch (corner) {
    case 9:
        x = dialog.left + dx;
        y = dialog.top + dy;
        break;
    case 12:
        x = dialog.right - dx - w;
        y = dialog.top + dy;
        break;
    case 3:
        x = dialog.left + dx;
        y = dialog.bottom - dy - h;
        break;
    case 6:
        x = dialog.right - dx - w;
        y = dialog.bottom - dy - h;
        break;
    default: return 0;
    }
    if (!::MoveWindow(item, x, y, w, h, TRUE)) return 0;
    if (out != nullptr && !GetDialogItemRect(id, out)) return 0;
    return 1;
}

int CMyDialog::MoveItemResize(unsigned int id, int left, int top, int right, int bottom,
                              RECT* out) {
    HWND item = GetDlgItem(id);
    if (item == nullptr || right < left || bottom < top) return 0;
    ::SetWindowPos(item, nullptr, left, top, right - left, bottom - top, kPlaceOnly);
    RECT actual;
    if (!GetDialogItemRect(id, &actual)) return 0;
    if (out != nullptr) *out = actual;
    return 1;
}
