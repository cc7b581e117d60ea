#include "controlwindow.h"

#include "application.h"
#include "codepage.h"
#include "coloredtextparam.h"
#include "tooltip.h"

namespace {

LPARAM PackPoint(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

} // namespace

HWND CMyControlWindow::m_hToolTip = nullptr;

CMyControlWindow::CMyControlWindow(const char* className)
    : CMyWindow(className, reinterpret_cast<void*>(&ControlWindowProc)), m_controlId(0) {}

CMyControlWindow::CMyControlWindow(const char* className, void* procedure)
    : CMyWindow(className,
                procedure != nullptr ? procedure : reinterpret_cast<void*>(&ControlWindowProc)),
      m_controlId(0) {}

CMyControlWindow::~CMyControlWindow() {
    DetachAndDestroy();
}

int CMyControlWindow::Create(const char* title, unsigned long style, void* parent, unsigned int id,
                             unsigned int, unsigned int, RECT* rect) {
    m_hParent = static_cast<HWND>(parent);
    void* instance = m_pApplication->GetSaveInstance();
    RegisterMyWindow(instance);
    if (!CreateMyWindow(instance, title, style, rect,
                        reinterpret_cast<void*>(static_cast<UINT_PTR>(id))))
        return 0;
    m_enabled = (style & WS_DISABLED) != 0 ? 0 : 1;
    m_created = 1;
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    CreateToolTip();
    AfterCreate();
    return 1;
}

int CMyControlWindow::CreateToolTip() {
    if (m_hToolTip == nullptr)
        m_hToolTip =
            oskel::CreateSharedToolTip(static_cast<HINSTANCE>(m_pApplication->GetSaveInstance()));
    return m_hToolTip != nullptr ? 1 : 0;
}

LRESULT CMyControlWindow::EnableToolTip(void* control, void* parent) {
    if (!CreateToolTip()) return 0;
    return oskel::AddToolTip(m_hToolTip, static_cast<HWND>(control), static_cast<HWND>(parent));
}

LRESULT CMyControlWindow::EnableToolTip() {
    return EnableToolTip(m_hWnd, m_hParent);
}

int CMyControlWindow::SendParentCommand(unsigned short code) {
    if (m_hWnd == nullptr || m_hParent == nullptr) return 0;
    ::SendMessageW(m_hParent, WM_COMMAND, MAKEWPARAM(m_controlId & 0xFFFF, code),
                   reinterpret_cast<LPARAM>(m_hWnd));
    return 1;
}

LRESULT CALLBACK CMyControlWindow::ControlWindowProc(HWND window, UINT message, WPARAM wParam,
                                                     LPARAM lParam) {
    auto* object = reinterpret_cast<CMyControlWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (object == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
    return object->DispatchControl(message, wParam, lParam);
}

LRESULT CMyControlWindow::DispatchControl(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = LOWORD(lParam), y = HIWORD(lParam);
    switch (message) {
    case WM_SETFOCUS: return OnSetFocus(reinterpret_cast<void*>(wParam));
    case WM_KILLFOCUS: return OnKillFocus(reinterpret_cast<void*>(wParam));
    case WM_ENABLE: return OnEnable(static_cast<int>(wParam));
    case WM_DESTROY: return OnDestroy();
    case WM_PAINT:
    case WM_NCPAINT: return Paint();
    case WM_ERASEBKGND: return OnEraseBkgnd(reinterpret_cast<void*>(wParam));
    case WM_SETCURSOR:
        return OnSetCursor(reinterpret_cast<void*>(wParam), LOWORD(lParam), HIWORD(lParam));
    case WM_NOTIFY: return OnNotify(wParam, lParam);
    case WM_KEYDOWN: return OnKeyDown(wParam, lParam);
    case WM_KEYUP: return OnKeyUp(wParam, lParam);
    case WM_CHAR:
        return OnChar(static_cast<char>(OskelUnicodeToCp1250(static_cast<unsigned long>(wParam))),
                      static_cast<unsigned long>(lParam));
    case WM_MOUSEMOVE: return OnMouseMove(wParam, x, y);
    case WM_LBUTTONDOWN: return OnLButtonDown(wParam, x, y);
    case WM_LBUTTONUP: return OnLButtonUp(wParam, x, y);
    case WM_LBUTTONDBLCLK: return OnLButtonDoubleClick(wParam, x, y);
    case WM_RBUTTONDOWN: return OnRButtonDown(wParam, x, y);
    case WM_RBUTTONUP: return OnRButtonUp(wParam, x, y);
    case WM_MOUSELEAVE: return OnMouseLeave();
    case WM_CUT: return OnCut();
    case WM_PASTE: return OnPaste();
    case WM_UNDO: return OnUndo();
    case MY_COLORED_TEXT_GETTEXTPARAM:
        return OnMyColoredTextGetTextParam(wParam,
                                           reinterpret_cast<MY_COLORED_TEXT_STRUCT*>(lParam));
    default: return OnOtherMessage(message, wParam, lParam);
    }
}

void CMyControlWindow::RelayToToolTip(UINT message, WPARAM wParam, int x, int y) {
    if (m_hToolTip != nullptr)
        oskel::RelayToToolTip(m_hToolTip, m_hWnd, message, wParam, PackPoint(x, y));
}

LRESULT CMyControlWindow::OnLButtonDown(WPARAM keys, int x, int y) {
    RelayToToolTip(WM_LBUTTONDOWN, keys, x, y);
    return CMyWindow::OnLButtonDown(keys, x, y);
}

LRESULT CMyControlWindow::OnLButtonUp(WPARAM keys, int x, int y) {
    RelayToToolTip(WM_LBUTTONUP, keys, x, y);
    return CMyWindow::OnLButtonUp(keys, x, y);
}

LRESULT CMyControlWindow::OnMouseMove(WPARAM keys, int x, int y) {
    RelayToToolTip(WM_MOUSEMOVE, keys, x, y);
    return CMyWindow::OnMouseMove(keys, x, y);
}

LRESULT CMyControlWindow::OnRButtonDown(WPARAM keys, int x, int y) {
    RelayToToolTip(WM_RBUTTONDOWN, keys, x, y);
    return Forward(WM_RBUTTONDOWN, keys, PackPoint(x, y));
}

LRESULT CMyControlWindow::OnRButtonUp(WPARAM keys, int x, int y) {
    RelayToToolTip(WM_RBUTTONUP, keys, x, y);
    return CMyWindow::OnRButtonUp(keys, x, y);
}

LRESULT CMyControlWindow::OnOtherMessage(unsigned int message, WPARAM wParam, LPARAM lParam) {
    return Forward(message, wParam, lParam);
}

void CMyControlWindow::AfterCreate() {}
LRESULT CMyControlWindow::OnCut() {
    return Forward(WM_CUT, 0, 0);
}
LRESULT CMyControlWindow::OnEnable(int enable) {
    return Forward(WM_ENABLE, enable, 0);
}
LRESULT CMyControlWindow::OnKillFocus(void* window) {
    return Forward(WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
}
LRESULT CMyControlWindow::OnLButtonDoubleClick(WPARAM keys, int x, int y) {
    return Forward(WM_LBUTTONDBLCLK, keys, PackPoint(x, y));
}
LRESULT CMyControlWindow::OnMouseLeave() {
    return Forward(WM_MOUSELEAVE, 0, 0);
}
LRESULT CMyControlWindow::OnMyColoredTextGetTextParam(WPARAM id,
                                                      MY_COLORED_TEXT_STRUCT* parameters) {
    return Forward(MY_COLORED_TEXT_GETTEXTPARAM, id, reinterpret_cast<LPARAM>(parameters));
}
LRESULT CMyControlWindow::OnPaste() {
    return Forward(WM_PASTE, 0, 0);
}
LRESULT CMyControlWindow::OnSetFocus(void* window) {
    return Forward(WM_SETFOCUS, reinterpret_cast<WPARAM>(window), 0);
}
LRESULT CMyControlWindow::OnUndo() {
    return Forward(WM_UNDO, 0, 0);
}
