#include "application.h"

#include "codepage.h"
#include "mydata.h"
#include "nullsafe.h"
#include "pushbutton.h"

#include <commctrl.h>

namespace {

LPARAM PackPoint(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

} // namespace

// --- CMyControlWindow --------------------------------------------------------------------

HWND CMyControlWindow::m_hToolTip = nullptr;

CMyControlWindow::CMyControlWindow(const char* className)
    : CMyWindow(className, reinterpret_cast<void*>(&ControlWindowProc)), m_controlId(0) {}

CMyControlWindow::CMyControlWindow(const char* className, void* procedure)
    : CMyWindow(className,
                procedure != nullptr ? procedure : reinterpret_cast<void*>(&ControlWindowProc)),
      m_controlId(0) {}

CMyControlWindow::~CMyControlWindow() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd) &&
        GetWindowLongPtrW(m_hWnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this)) {
        // The window must not reach this object's handlers while the object goes away.
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        ::DestroyWindow(m_hWnd);
    }
    m_hWnd = nullptr;
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
    if (m_hToolTip != nullptr) return 1;
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    m_hToolTip = ::CreateWindowExW(
        WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
        WS_POPUP | WS_BORDER | WS_CLIPSIBLINGS | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, ::GetDesktopWindow(), nullptr,
        static_cast<HINSTANCE>(m_pApplication->GetSaveInstance()), nullptr);
    if (m_hToolTip == nullptr) return 0;
    ::SendMessageW(m_hToolTip, TTM_ACTIVATE, 1, 0);
    return 1;
}

LRESULT CMyControlWindow::EnableToolTip(void* control, void* parent) {
    if (!CreateToolTip()) return 0;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = static_cast<HWND>(parent);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    return ::SendMessageW(m_hToolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
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
    case WM_USER + 1:
        return OnMyColoredTextGetTextParam(wParam,
                                           reinterpret_cast<MY_COLORED_TEXT_STRUCT*>(lParam));
    default: return OnOtherMessage(message, wParam, lParam);
    }
}

void CMyControlWindow::RelayToToolTip(UINT message, WPARAM wParam, int x, int y) {
    if (m_hToolTip == nullptr) return;
    MSG relayed{m_hWnd, message, wParam, PackPoint(x, y), 0, {0, 0}};
    ::SendMessageW(m_hToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
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
    return Forward(WM_USER + 1, id, reinterpret_cast<LPARAM>(parameters));
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

// --- CMyApplication ----------------------------------------------------------------------

CMyApplication::CMyApplication() {
    InitApp();
}

CMyApplication::CMyApplication(void* instance) {
    InitApp();
    m_hInstance = instance;
}

CMyApplication::~CMyApplication() {
    if (CMyWindowObject::m_pApplication == this) CMyWindowObject::SetApplication(nullptr);
}

void CMyApplication::InitApp() {
    m_pMainWindow = nullptr;
    m_pData = nullptr;
    m_hInstance = nullptr;
    m_reserved1 = m_reserved2 = 0;
    CMyWindowObject::SetApplication(this);
}

CMyData* CMyApplication::InitData() {
    return nullptr;
}

int CMyApplication::Inicialization(void* instance) {
    if (instance != nullptr) m_hInstance = instance;
    if (m_hInstance == nullptr) return 0;
    m_pData = InitData();
    if (m_pData != nullptr && !m_pData->InitData()) {
        OutputDebugStringA("Nepodarilo se inicializovat datove slozky instanci tridy CMyData\n"
                           "nebo nejakeho jeho potomka!");
        return 0;
    }
    m_pMainWindow = InitWindow();
    if (m_pMainWindow == nullptr) {
        OutputDebugStringA("Pointer na instanci tridy CMyWindow je NULL\n");
        return 0;
    }
    return 1;
}

void* CMyApplication::GetSaveInstance() const {
    return oskel::IsNullObject(this) ? nullptr : m_hInstance;
}

CMyWindow* CMyApplication::GetSaveWindow() const {
    return oskel::IsNullObject(this) ? nullptr : m_pMainWindow;
}

CMyData* CMyApplication::GetSaveData() const {
    return oskel::IsNullObject(this) ? nullptr : m_pData;
}

int CMyApplication::ControlSubclass(void* instance) {
    if (instance == nullptr) return 0;
    oskel::StartButtonRestyling(instance);
    return 1;
}

int CMyApplication::ControlUnsubclass(void* instance) {
    if (instance == nullptr) return 0;
    oskel::StopButtonRestyling();
    return 1;
}
