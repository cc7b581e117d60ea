#include "window.h"

#include "application.h"
#include "codepage.h"
#include "nullsafe.h"
#include "wide_win32.h"

#include <cstdio>
#include <string>

namespace {

LPARAM PackPoint(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}
int SignedLow(LPARAM value) {
    return static_cast<short>(LOWORD(value));
}
int SignedHigh(LPARAM value) {
    return static_cast<short>(HIWORD(value));
}

// The object bound to a window: from the creation record on (non-client) creation,
// from the user-data slot afterwards.
CMyWindow* BoundObject(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_CREATE || message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        return create != nullptr ? static_cast<CMyWindow*>(create->lpCreateParams) : nullptr;
    }
    return reinterpret_cast<CMyWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

} // namespace

// --- CMyWindowObject ---------------------------------------------------------------------

CMyApplication* CMyWindowObject::m_pApplication = nullptr;

CMyWindowObject::CMyWindowObject() : CMyResourceObject(nullptr), m_hWnd(nullptr) {}

CMyWindowObject::~CMyWindowObject() {
    DestroyWindow();
}

void CMyWindowObject::SetApplication(CMyApplication* application) {
    m_pApplication = application;
}

CMyApplication* CMyWindowObject::GetSaveApplication() const {
    return oskel::IsNullObject(this) ? nullptr : m_pApplication;
}

HWND CMyWindowObject::GetSafeHandle() const {
    return oskel::IsNullObject(this) ? nullptr : m_hWnd;
}

int CMyWindowObject::SaveHandle(void* handle) {
    HWND window = static_cast<HWND>(handle);
    if (window == nullptr || !::IsWindow(window)) return 0;
    m_hWnd = window;
    return 1;
}

int CMyWindowObject::GetClientRect(RECT* rect) {
    return m_hWnd != nullptr && rect != nullptr ? ::GetClientRect(m_hWnd, rect) : 0;
}

int CMyWindowObject::GetWindowRect(RECT* rect) {
    return m_hWnd != nullptr && rect != nullptr ? ::GetWindowRect(m_hWnd, rect) : 0;
}

int CMyWindowObject::GetFrameRect(RECT* rect) {
    if (m_hWnd == nullptr || rect == nullptr) return 0;
    WINDOWINFO info{};
    info.cbSize = sizeof info;
    if (!::GetWindowInfo(m_hWnd, &info)) return 0;
    *rect = info.rcWindow;
    return 1;
}

int CMyWindowObject::MessageBoxA(const char* text, const char* caption, unsigned int type) {
    if (m_hWnd == nullptr || text == nullptr) return -1;
    const std::wstring wideCaption = oskel::ToWide(caption);
    return ::MessageBoxW(m_hWnd, oskel::ToWide(text).c_str(), oskel::OrNull(wideCaption, caption),
                         type);
}

int CMyWindowObject::InvalidateRect(RECT* rect, int erase) {
    return m_hWnd != nullptr && rect != nullptr ? ::InvalidateRect(m_hWnd, rect, erase) : 0;
}

HMENU CMyWindowObject::LoadMenuA(unsigned int id) {
    HINSTANCE instance = static_cast<HINSTANCE>(m_pApplication->GetSaveInstance());
    return instance != nullptr ? ::LoadMenuW(instance, MAKEINTRESOURCEW(id)) : nullptr;
}

HMENU CMyWindowObject::GetMenu() {
    return m_hWnd != nullptr ? ::GetMenu(m_hWnd) : nullptr;
}

int CMyWindowObject::SetWindowPos(void* after, int x, int y, int cx, int cy, unsigned int flags) {
    if (m_hWnd == nullptr) return 0;
    return ::SetWindowPos(m_hWnd, static_cast<HWND>(after), x, y, cx, cy, flags);
}

int CMyWindowObject::SetWindowPos(void* after, RECT* rect, unsigned int flags) {
    if (rect == nullptr) return 0;
    return SetWindowPos(after, rect->left, rect->top, rect->right - rect->left,
                        rect->bottom - rect->top, flags);
}

int CMyWindowObject::DestroyWindow() {
    if (m_hWnd == nullptr) return 0;
    if (!::DestroyWindow(m_hWnd)) return 1;
    m_hWnd = nullptr;
    return 0;
}

HDC CMyWindowObject::GetWindowDC() {
    return m_hWnd != nullptr ? ::GetWindowDC(m_hWnd) : nullptr;
}

HDC CMyWindowObject::GetDC() {
    return m_hWnd != nullptr ? ::GetDC(m_hWnd) : nullptr;
}

int CMyWindowObject::ReleaseDC(void* dc) {
    if (m_hWnd == nullptr) return -1;
    return dc != nullptr ? ::ReleaseDC(m_hWnd, static_cast<HDC>(dc)) : 0;
}

int CMyWindowObject::GetWindowRgn(void* region) {
    return m_hWnd != nullptr ? ::GetWindowRgn(m_hWnd, static_cast<HRGN>(region)) : 0;
}

int CMyWindowObject::SetWindowRgn(void* region, int redraw) {
    return m_hWnd != nullptr ? ::SetWindowRgn(m_hWnd, static_cast<HRGN>(region), redraw) : 0;
}

int CMyWindowObject::GetWindowTextLengthA() {
    return m_hWnd != nullptr ? ::GetWindowTextLengthW(m_hWnd) : 0;
}

int CMyWindowObject::GetWindowTextA(char* buffer, int size) {
    if (m_hWnd == nullptr) return -1;
    if (buffer == nullptr || size <= 0) return 0;
    std::wstring wide(static_cast<size_t>(size), L'\0');
    if (::GetWindowTextW(m_hWnd, &wide[0], size) == 0) {
        buffer[0] = 0;
        return 0;
    }
    return oskel::ToCp1250(wide.c_str(), buffer, size);
}

int CMyWindowObject::SetWindowTextA(const char* text) {
    if (m_hWnd == nullptr) return 0;
    const std::wstring wide = oskel::ToWide(text);
    return ::SetWindowTextW(m_hWnd, oskel::OrNull(wide, text));
}

LRESULT CMyWindowObject::SendMessageA(unsigned int message, WPARAM wParam, LPARAM lParam) {
    if (m_hWnd == nullptr) return -1;
    // Texts travel as cp1250 in this interface; the window itself is wide.
    if (message == WM_SETTEXT && lParam != 0)
        return SetWindowTextA(reinterpret_cast<const char*>(lParam));
    if (message == WM_GETTEXT)
        return GetWindowTextA(reinterpret_cast<char*>(lParam), static_cast<int>(wParam));
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

int CMyWindowObject::SetFont(void* font, int redraw) {
    if (m_hWnd == nullptr || font == nullptr) return 0;
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    return 1;
}

HWND CMyWindowObject::SetFocus() {
    return m_hWnd != nullptr ? ::SetFocus(m_hWnd) : nullptr;
}

int CMyWindowObject::EnableMenuItem(unsigned int item, unsigned int flags) {
    HMENU menu = m_hWnd != nullptr ? ::GetMenu(m_hWnd) : nullptr;
    return menu != nullptr ? ::EnableMenuItem(menu, item, flags) : -1;
}

int CMyWindowObject::EnableMenuItem(unsigned int item, int enable) {
    return EnableMenuItem(item, static_cast<unsigned int>(enable == 1 ? MF_ENABLED : MF_GRAYED));
}

int CMyWindowObject::CheckMenuItem(unsigned int item, unsigned int flags) {
    HMENU menu = m_hWnd != nullptr ? ::GetMenu(m_hWnd) : nullptr;
    return menu != nullptr ? static_cast<int>(::CheckMenuItem(menu, item, flags)) : -1;
}

int CMyWindowObject::CheckMenuItem(unsigned int item, int check) {
    return CheckMenuItem(item, static_cast<unsigned int>(check == 1 ? MF_CHECKED : MF_UNCHECKED));
}

int CMyWindowObject::WinHelpA(const char* file, unsigned int command, ULONG_PTR data) {
    if (m_hWnd == nullptr) return 0;
    const std::wstring wide = oskel::ToWide(file);
    return ::WinHelpW(m_hWnd, oskel::OrNull(wide, file), command, data);
}

int CMyWindowObject::GetScrollPos(int bar) {
    return m_hWnd != nullptr ? ::GetScrollPos(m_hWnd, bar) : 0;
}

int CMyWindowObject::SetScrollPos(int bar, int pos, int redraw) {
    return m_hWnd != nullptr ? ::SetScrollPos(m_hWnd, bar, pos, redraw) : 0;
}

int CMyWindowObject::SetScrollRange(int bar, int min, int max, int redraw) {
    return m_hWnd != nullptr ? ::SetScrollRange(m_hWnd, bar, min, max, redraw) : 0;
}

UINT_PTR CMyWindowObject::SetTimer(unsigned int id, unsigned int ms, TIMERPROC procedure) {
    return m_hWnd != nullptr ? ::SetTimer(m_hWnd, id, ms, procedure) : 0;
}

int CMyWindowObject::KillTimer(unsigned int id) {
    return m_hWnd != nullptr ? ::KillTimer(m_hWnd, id) : 0;
}

HDC CMyWindowObject::BeginPaint(PAINTSTRUCT* paint) {
    return m_hWnd != nullptr && paint != nullptr ? ::BeginPaint(m_hWnd, paint) : nullptr;
}

int CMyWindowObject::EndPaint(PAINTSTRUCT* paint) {
    return m_hWnd != nullptr && paint != nullptr ? ::EndPaint(m_hWnd, paint) : 0;
}

// --- CMyWindow: construction and creation ------------------------------------------------

CMyWindow::CMyWindow(const char* className) {
    Init(className, 0, nullptr, nullptr);
}

CMyWindow::CMyWindow(unsigned int templateId) {
    Init(nullptr, templateId, nullptr, nullptr);
}

CMyWindow::CMyWindow(const char* className, void* procedure) {
    Init(className, 0, procedure, nullptr);
}

CMyWindow::CMyWindow(unsigned int templateId, void* procedure) {
    Init(nullptr, templateId, procedure, nullptr);
}

CMyWindow::CMyWindow(unsigned int templateId, void* procedure, void* parent) {
    Init(nullptr, templateId, procedure, parent);
}

CMyWindow::~CMyWindow() {
    if (HoldsBoundWindow()) ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    m_className.FreeBuffer();
}

// Only a window that is still ours counts: the platform may have destroyed it (and reused the
// handle) while the object kept the stale value.
bool CMyWindow::HoldsBoundWindow() const {
    return m_hWnd != nullptr && ::IsWindow(m_hWnd) &&
           GetWindowLongPtrW(m_hWnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this);
}

void CMyWindow::DetachAndDestroy() {
    if (HoldsBoundWindow()) {
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        ::DestroyWindow(m_hWnd);
    }
    m_hWnd = nullptr;
}

void CMyWindow::Init(const char* className, unsigned int templateId, void* procedure,
                     void* parent) {
    m_className.FreeBuffer();
    if (className != nullptr) m_className.InitBuffer(className);
    m_templateId = templateId;
    m_procedure = procedure != nullptr ? reinterpret_cast<WNDPROC>(procedure) : &WindowProc;
    m_hParent = static_cast<HWND>(parent);
    m_hWnd = nullptr;
    m_previousProcedure = nullptr;
    m_menuId = m_iconId = m_smallIconId = 0;
    m_registered = m_created = 0;
    m_enabled = 1;
}

int CMyWindow::Create(const char* title, unsigned long style, void* parent, unsigned int menuId,
                      unsigned int iconId, unsigned int smallIconId, RECT* rect) {
    return CreateCommon(title, style, 0, parent, menuId, iconId, smallIconId, rect, 0);
}

int CMyWindow::CreateEx(const char* title, unsigned long style, unsigned long exStyle, void* parent,
                        unsigned int menuId, unsigned int iconId, unsigned int smallIconId,
                        RECT* rect) {
    return CreateCommon(title, style, exStyle, parent, menuId, iconId, smallIconId, rect, 1);
}

int CMyWindow::CreateCommon(const char* title, unsigned long style, unsigned long exStyle,
                            void* parent, unsigned int menuId, unsigned int iconId,
                            unsigned int smallIconId, RECT* rect, int extended) {
    if (m_created) {
        OutputDebugStringA("Okno je jiz vytvoreno.\n");
        return 1;
    }
    if (m_className.IsEmpty() && m_templateId == 0) {
        OutputDebugStringA("ClassTemplate je NULL (0)!\n");
        return 0;
    }
    if (m_pApplication == nullptr) {
        OutputDebugStringA("Aplikace je NULL.\n");
        return 0;
    }
    void* instance = GetResourceInstance();
    if (instance == nullptr) instance = m_pApplication->GetSaveInstance();
    m_hParent = static_cast<HWND>(parent);
    m_menuId = menuId;
    m_iconId = iconId;
    m_smallIconId = smallIconId;
    if (!m_registered) {
        if (RegisterMyWindow(instance) == 0) {
            OutputDebugStringA("Registrace okna se nezdarila!.\n");
            return 0;
        }
        m_registered = 1;
    }
    const int ok =
        extended
            ? CreateMyWindowEx(instance, title, style, exStyle, rect,
                               menuId != 0 ? reinterpret_cast<void*>(static_cast<UINT_PTR>(menuId))
                                           : nullptr)
            : CreateMyWindow(instance, title, style, rect, nullptr);
    if (!ok) return 0;
    m_created = 1;
    return 1;
}

const wchar_t* CMyWindow::ClassNameOrAtom(wchar_t* buffer, int size) const {
    if (m_className.IsEmpty()) return MAKEINTRESOURCEW(m_templateId);
    oskel::ToWide(m_className.GetString(), buffer, size);
    return buffer;
}

ATOM CMyWindow::RegisterMyWindow(void* instance) {
    if (instance == nullptr) return 0;
    HINSTANCE module = static_cast<HINSTANCE>(instance);
    WNDCLASSEXA description{};
    description.cbSize = sizeof description;
    description.style = CS_HREDRAW | CS_VREDRAW;
    description.lpfnWndProc = m_procedure != nullptr ? m_procedure : &WindowProc;
    description.hInstance = module;
    description.hIcon = m_iconId != 0 ? ::LoadIconW(module, MAKEINTRESOURCEW(m_iconId)) : nullptr;
    description.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    description.lpszMenuName = m_menuId != 0 ? MAKEINTRESOURCEA(m_menuId) : nullptr;
    description.lpszClassName =
        m_className.IsEmpty() ? MAKEINTRESOURCEA(m_templateId) : m_className.GetString();
    description.hIconSm =
        m_smallIconId != 0 ? ::LoadIconW(module, MAKEINTRESOURCEW(m_smallIconId)) : nullptr;
    return RegisterMyWindow(&description);
}

ATOM CMyWindow::RegisterMyWindow(WNDCLASSEXA* description) {
    if (description == nullptr) return 0;
    // The description names its class and menu in cp1250; the class is registered wide.
    const bool namedClass = !IS_INTRESOURCE(description->lpszClassName);
    const bool namedMenu = !IS_INTRESOURCE(description->lpszMenuName);
    const std::wstring className = namedClass ? oskel::ToWide(description->lpszClassName) : L"";
    const std::wstring menuName = namedMenu ? oskel::ToWide(description->lpszMenuName) : L"";
    WNDCLASSEXW wide{};
    wide.cbSize = sizeof wide;
    wide.style = description->style;
    wide.lpfnWndProc = description->lpfnWndProc;
    wide.cbClsExtra = description->cbClsExtra;
    wide.cbWndExtra = description->cbWndExtra;
    wide.hInstance = description->hInstance;
    wide.hIcon = description->hIcon;
    wide.hCursor = description->hCursor;
    wide.hbrBackground = description->hbrBackground;
    wide.lpszMenuName =
        namedMenu ? menuName.c_str() : reinterpret_cast<LPCWSTR>(description->lpszMenuName);
    wide.lpszClassName =
        namedClass ? className.c_str() : reinterpret_cast<LPCWSTR>(description->lpszClassName);
    wide.hIconSm = description->hIconSm;
    ATOM atom = ::RegisterClassExW(&wide);
    if (atom == 0 && ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
        // A second object of the same class: the registration of the first one serves.
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof existing;
        atom = static_cast<ATOM>(::GetClassInfoExW(wide.hInstance, wide.lpszClassName, &existing));
    }
    return atom;
}

int CMyWindow::CreateMyWindow(void* instance, const char* title, unsigned long style, RECT* rect,
                              void* menu) {
    return CreatePlatformWindow(instance, title, style, 0, rect, menu);
}

int CMyWindow::CreateMyWindowEx(void* instance, const char* title, unsigned long style,
                                unsigned long exStyle, RECT* rect, void* menu) {
    return CreatePlatformWindow(instance, title, style, exStyle, rect, menu);
}

int CMyWindow::CreatePlatformWindow(void* instance, const char* title, unsigned long style,
                                    unsigned long exStyle, RECT* rect, void* menu) {
    if (instance == nullptr || title == nullptr) {
        OutputDebugStringA("HINSTANCE a/nebo titulek je NULL!\n");
        return 0;
    }
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
    if (rect != nullptr) {
        x = rect->left;
        y = rect->top;
        width = rect->right - rect->left;
        height = rect->bottom - rect->top;
    }
    wchar_t classBuffer[256];
    const std::wstring wideTitle = oskel::ToWide(title);
    m_hWnd = ::CreateWindowExW(exStyle, ClassNameOrAtom(classBuffer, 256), wideTitle.c_str(), style,
                               x, y, width, height, m_hParent, static_cast<HMENU>(menu),
                               static_cast<HINSTANCE>(instance), this);
    if (m_hWnd == nullptr) {
        OutputDebugStringA("CreateWindow vratil NULL s chybou ");
        char code[32];
        std::snprintf(code, sizeof code, "%d\n", static_cast<int>(::GetLastError()));
        OutputDebugStringA(code);
        return 0;
    }
    ::SetWindowTextW(m_hWnd, wideTitle.c_str());
    if (rect != nullptr) ::GetWindowRect(m_hWnd, rect);
    return 1;
}

// --- CMyWindow: other operations ---------------------------------------------------------

int CMyWindow::Show(int command) {
    return ShowWindow(command);
}

int CMyWindow::ShowWindow(int command) {
    if (m_hWnd == nullptr) return 0;
    ::ShowWindow(m_hWnd, command);
    return 1;
}

LRESULT CMyWindow::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(&paint);
    const LRESULT result = dc != nullptr ? OnPaint(dc) : 0;
    EndPaint(&paint);
    return result;
}

HINSTANCE CMyWindow::GetSafeInstance() const {
    return static_cast<HINSTANCE>(m_pApplication->GetSaveInstance());
}

CMyData* CMyWindow::GetSaveData() const {
    return oskel::IsNullObject(this) ? nullptr : m_pApplication->GetSaveData();
}

int CMyWindow::EnableWindow(int enable) {
    if (m_hWnd == nullptr) return 0;
    m_enabled = enable;
    ::EnableWindow(m_hWnd, enable);
    return 1;
}

int CMyWindow::IsWindowEnabled() const {
    return m_hWnd != nullptr ? m_enabled : 0;
}

int CMyWindow::GetParentClientRect(RECT* rect) {
    return m_hParent != nullptr && rect != nullptr ? ::GetClientRect(m_hParent, rect) : 0;
}

int CMyWindow::GetParentWindowRect(RECT* rect) {
    return m_hParent != nullptr && rect != nullptr ? ::GetWindowRect(m_hParent, rect) : 0;
}

HWND CMyWindow::SetParent(void* parent) {
    HWND previous = m_hParent;
    m_hParent = static_cast<HWND>(parent);
    return previous;
}

// --- CMyWindow: message dispatch ---------------------------------------------------------

LRESULT CALLBACK CMyWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CMyWindow* object = BoundObject(window, message, lParam);
    if (object == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_CREATE) {
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
        object->SaveHandle(window);
    }
    int handled = 0;
    const LRESULT result = object->Dispatch(message, wParam, lParam, &handled);
    return handled ? result : ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CMyWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, int* handled) {
    *handled = 1;
    const int x = SignedLow(lParam), y = SignedHigh(lParam);
    switch (message) {
    case WM_SETTINGCHANGE: return OnSettingChange(wParam, lParam);
    case WM_CANCELMODE: return OnCancelMode();
    case WM_GETMINMAXINFO: return OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
    case WM_WINDOWPOSCHANGED: return OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lParam));
    case WM_CONTEXTMENU: OnContextMenu(reinterpret_cast<void*>(wParam), x, y); return 0;
    case WM_NCDESTROY: return OnNCDestroy();
    case WM_NCHITTEST: return OnNCHitTest(x, y);
    case WM_KEYDOWN: return OnKeyDown(wParam, lParam);
    case WM_KEYUP: return OnKeyUp(wParam, lParam);
    case WM_CHAR:
        return OnChar(static_cast<char>(OskelUnicodeToCp1250(static_cast<unsigned long>(wParam))),
                      static_cast<unsigned long>(lParam));
    case WM_SYSCOMMAND: return OnSysCommand(wParam, x, y);
    case WM_MENUSELECT:
        return OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<void*>(lParam));
    case WM_PRINT: return OnPrint(reinterpret_cast<void*>(wParam), lParam);
    default: return DispatchShared(message, wParam, lParam, handled);
    }
}

LRESULT CMyWindow::DispatchShared(UINT message, WPARAM wParam, LPARAM lParam, int* handled) {
    *handled = 1;
    const int x = SignedLow(lParam), y = SignedHigh(lParam);
    switch (message) {
    case WM_CREATE: return OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam));
    case WM_DESTROY: return OnDestroy();
    case WM_MOVE: return OnMove(x, y);
    case WM_SIZE: return OnSize(wParam, LOWORD(lParam), HIWORD(lParam));
    case WM_SETTEXT: return DispatchSetText(lParam);
    case WM_PAINT: return Paint();
    case WM_CLOSE: return OnClose();
    case WM_ERASEBKGND: return OnEraseBkgnd(reinterpret_cast<void*>(wParam));
    case WM_NOTIFY: return OnNotify(wParam, lParam);
    case WM_HELP: return OnHelp(reinterpret_cast<HELPINFO*>(lParam));
    case WM_NCACTIVATE: return OnNCActivate(wParam, lParam);
    case WM_NCLBUTTONDOWN: return OnNCLButtonDown(wParam, x, y);
    case WM_NCLBUTTONDBLCLK: return OnNCLButtonDblClk(wParam, x, y);
    case WM_COMMAND: return OnCommand(wParam, lParam);
    case WM_TIMER: return OnTimer(wParam, reinterpret_cast<TIMERPROC>(lParam));
    case WM_HSCROLL:
        return OnHScroll(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<void*>(lParam));
    case WM_VSCROLL:
        return OnVScroll(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<void*>(lParam));
    case WM_MOUSEMOVE: return OnMouseMove(wParam, x, y);
    case WM_LBUTTONDOWN: return OnLButtonDown(wParam, x, y);
    case WM_LBUTTONUP: return OnLButtonUp(wParam, x, y);
    case WM_MOUSEWHEEL:
        return OnMouseWheel(LOWORD(wParam), static_cast<short>(HIWORD(wParam)), x, y);
    case WM_SIZING: return OnSizing(wParam, lParam);
    default: *handled = 0; return 0;
    }
}

// The window is wide; the handler gets the text as cp1250.
LRESULT CMyWindow::DispatchSetText(LPARAM lParam) {
    const std::string text = oskel::ToCp1250(reinterpret_cast<const wchar_t*>(lParam));
    return OnSetText(lParam != 0 ? text.c_str() : nullptr);
}

LRESULT CMyWindow::Forward(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_previousProcedure != nullptr)
        return ::CallWindowProcW(m_previousProcedure, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

// --- CMyWindow: handler defaults ---------------------------------------------------------

LRESULT CMyWindow::OnActivate(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_ACTIVATE, wParam, lParam);
}
LRESULT CMyWindow::OnActivateApp(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_ACTIVATEAPP, wParam, lParam);
}
LRESULT CMyWindow::OnCancelMode() {
    return Forward(WM_CANCELMODE, 0, 0);
}
LRESULT CMyWindow::OnChar(char c, unsigned long data) {
    return Forward(WM_CHAR, OskelCp1250ToUnicode(static_cast<unsigned char>(c)), data);
}
LRESULT CMyWindow::OnClose() {
    return Forward(WM_CLOSE, 0, 0);
}
LRESULT CMyWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_COMMAND, wParam, lParam);
}
LRESULT CMyWindow::OnContextMenu(void* window, int x, int y) {
    return Forward(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), PackPoint(x, y));
}
LRESULT CMyWindow::OnCreate(CREATESTRUCTW* create) {
    if (m_previousProcedure == nullptr) return 1;
    return Forward(WM_CREATE, 0, reinterpret_cast<LPARAM>(create));
}
LRESULT CMyWindow::OnDestroy() {
    m_created = 0;
    return Forward(WM_DESTROY, 0, 0);
}
LRESULT CMyWindow::OnEraseBkgnd(void* dc) {
    return Forward(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
}
LRESULT CMyWindow::OnGetMinMaxInfo(MINMAXINFO* info) {
    return Forward(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(info));
}
LRESULT CMyWindow::OnHelp(HELPINFO* help) {
    return Forward(WM_HELP, 0, reinterpret_cast<LPARAM>(help));
}
LRESULT CMyWindow::OnHScroll(unsigned short code, unsigned short pos, void* control) {
    return Forward(WM_HSCROLL, MAKEWPARAM(code, pos), reinterpret_cast<LPARAM>(control));
}
LRESULT CMyWindow::OnKeyDown(WPARAM key, LPARAM data) {
    return Forward(WM_KEYDOWN, key, data);
}
LRESULT CMyWindow::OnKeyUp(WPARAM key, LPARAM data) {
    return Forward(WM_KEYUP, key, data);
}
LRESULT CMyWindow::OnLButtonDown(WPARAM keys, int x, int y) {
    return Forward(WM_LBUTTONDOWN, keys, PackPoint(x, y));
}
LRESULT CMyWindow::OnLButtonUp(WPARAM keys, int x, int y) {
    return Forward(WM_LBUTTONUP, keys, PackPoint(x, y));
}
LRESULT CMyWindow::OnMenuSelect(unsigned int item, unsigned int flags, void* menu) {
    return Forward(WM_MENUSELECT, MAKEWPARAM(item, flags), reinterpret_cast<LPARAM>(menu));
}
LRESULT CMyWindow::OnMouseMove(WPARAM keys, int x, int y) {
    return Forward(WM_MOUSEMOVE, keys, PackPoint(x, y));
}
LRESULT CMyWindow::OnMouseWheel(unsigned short keys, int delta, int x, int y) {
    return Forward(WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(delta)), PackPoint(x, y));
}
LRESULT CMyWindow::OnMove(int x, int y) {
    return Forward(WM_MOVE, 0, PackPoint(x, y));
}
LRESULT CMyWindow::OnNCActivate(WPARAM active, LPARAM lParam) {
    return Forward(WM_NCACTIVATE, active, lParam);
}
LRESULT CMyWindow::OnNCCreate(CREATESTRUCTW* create) {
    if (m_previousProcedure == nullptr) return 1;
    return Forward(WM_NCCREATE, 0, reinterpret_cast<LPARAM>(create));
}
LRESULT CMyWindow::OnNCDestroy() {
    return Forward(WM_NCDESTROY, 0, 0);
}
LRESULT CMyWindow::OnNCHitTest(int x, int y) {
    return Forward(WM_NCHITTEST, 0, PackPoint(x, y));
}
LRESULT CMyWindow::OnNCLButtonDblClk(WPARAM hit, int x, int y) {
    return Forward(WM_NCLBUTTONDBLCLK, hit, PackPoint(x, y));
}
LRESULT CMyWindow::OnNCLButtonDown(WPARAM hit, int x, int y) {
    return Forward(WM_NCLBUTTONDOWN, hit, PackPoint(x, y));
}
LRESULT CMyWindow::OnNCPaint(void* region) {
    return Forward(WM_NCPAINT, reinterpret_cast<WPARAM>(region), 0);
}
LRESULT CMyWindow::OnNotify(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_NOTIFY, wParam, lParam);
}
LRESULT CMyWindow::OnPaint(void* dc) {
    return Forward(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}
LRESULT CMyWindow::OnPrint(void* dc, LPARAM flags) {
    return Forward(WM_PRINT, reinterpret_cast<WPARAM>(dc), flags);
}
LRESULT CMyWindow::OnRButtonUp(WPARAM keys, int x, int y) {
    return Forward(WM_RBUTTONUP, keys, PackPoint(x, y));
}
LRESULT CMyWindow::OnSetCursor(void* window, unsigned short hit, unsigned short message) {
    return Forward(WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(hit, message));
}
LRESULT CMyWindow::OnSetText(const char* text) {
    const std::wstring wide = oskel::ToWide(text);
    return Forward(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(oskel::OrNull(wide, text)));
}
LRESULT CMyWindow::OnSettingChange(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_SETTINGCHANGE, wParam, lParam);
}
LRESULT CMyWindow::OnSize(WPARAM type, unsigned short width, unsigned short height) {
    return Forward(WM_SIZE, type, MAKELPARAM(width, height));
}
LRESULT CMyWindow::OnSizing(WPARAM edge, LPARAM rect) {
    return Forward(WM_SIZING, edge, rect);
}
LRESULT CMyWindow::OnSysCommand(WPARAM command, int x, int y) {
    return Forward(WM_SYSCOMMAND, command, PackPoint(x, y));
}
LRESULT CMyWindow::OnTimer(WPARAM id, TIMERPROC procedure) {
    return Forward(WM_TIMER, id, reinterpret_cast<LPARAM>(procedure));
}
LRESULT CMyWindow::OnVScroll(unsigned short code, unsigned short pos, void* control) {
    return Forward(WM_VSCROLL, MAKEWPARAM(code, pos), reinterpret_cast<LPARAM>(control));
}
LRESULT CMyWindow::OnWindowPosChanged(WINDOWPOS* position) {
    return Forward(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(position));
}
LRESULT CMyWindow::OnOtherMessage(unsigned int, WPARAM, LPARAM) {
    return 0;
}
