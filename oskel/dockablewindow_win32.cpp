#include "dockablewindow.h"

#include "dockgeometry.h"

namespace {

// Floating: a captioned tool window with a sizing border; docked: a framed child.
const DWORD kFloatingStyle =
    WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
const DWORD kFloatingExStyle = WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE;
const DWORD kDockedStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_DLGFRAME;
// Bit 31 of a key message's lParam: the key is being released.
const LPARAM kKeyReleased = 0x80000000;
// Set in m_nMouseMoved when Ctrl changes: the preview is checked again without a move.
const int kRecheckPreview = 0x80;
const UINT kQuietFrame = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER | SWP_FRAMECHANGED;

oskel::DockRect ToDock(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}
RECT ToRect(const oskel::DockRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

RECT ClientOnScreen(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

struct EnumContext {
    CMyDockableWindow* self;
    MY_DOCK_PARAMS* params;
    bool sibling;
};

} // namespace

int CMyDockableWindow::m_nControlKeyDown = 0;
int CMyDockableWindow::m_nMouseMoved = 0;
HWND CMyDockableWindow::m_hDraggingDockWnd = nullptr;
HHOOK CMyDockableWindow::m_lpOriginalDockHookProc = nullptr;
ATOM CMyDockableWindow::m_aDockingFrameAtom = 0;
WORD CMyDockableWindow::m_wDotPatternBmp1[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
WORD CMyDockableWindow::m_wDotPatternBmp2[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

CMyDockableWindow::CMyDockableWindow() : CMyWindow("_Oskel_My_Dockable_Window_") {
    InitDockInfo();
}

CMyDockableWindow::~CMyDockableWindow() {
    if (m_hDraggingDockWnd == m_hWnd && m_hWnd != nullptr) EndDrag();
}

void CMyDockableWindow::InitDockInfo() {
    m_dockFlags = 0;
    m_floatX = m_floatY = m_floatClientWidth = m_floatClientHeight = m_dockedSize = 0;
    m_content = m_own = m_container = nullptr;
    m_floatWindowWidth = m_floatWindowHeight = 0;
    m_side = 0;
    m_drag = RECT{};
    m_dockedPreview = 0;
    m_mouseX = m_mouseY = 0;
    m_resizing = nullptr;
}

void CMyDockableWindow::InitDock(char side) {
    InitDockInfo();
    m_floatClientWidth = 400;
    m_floatClientHeight = 200;
    m_dockedSize = (side & (MY_DOCK_TOP | MY_DOCK_BOTTOM)) ? 100 : 200;
    m_dockFlags = kSides | MY_DOCK_GRIPPER_DOCKED;
    // Floating without a side: a later double click docks at the bottom.
    const bool noSide = static_cast<unsigned char>(side) == oskel::kDockFloat;
    m_side = static_cast<signed char>(noSide ? oskel::kDockFloat | oskel::kDockBottom : side);
}

ATOM CMyDockableWindow::RegisterMyWindow(void* instance) {
    const ATOM atom = CMyWindow::RegisterMyWindow(instance);
    if (atom != 0) m_aDockingFrameAtom = atom;
    return atom;
}

ATOM CMyDockableWindow::RegisterMyWindow(WNDCLASSEXA* description) {
    return CMyWindow::RegisterMyWindow(description);
}

int CMyDockableWindow::Create(const char* title, unsigned long style, void* parent,
                              unsigned int menuId, unsigned int iconId, unsigned int smallIconId,
                              RECT* rect) {
    return CreateEx(title, style, 0, parent, menuId, iconId, smallIconId, rect);
}

int CMyDockableWindow::CreateEx(const char* title, unsigned long style, unsigned long, void* parent,
                                unsigned int menuId, unsigned int iconId, unsigned int smallIconId,
                                RECT* rect) {
    void* owner = (style & MY_DOCK_NO_OWNER) ? nullptr : parent;
    const int result = CMyWindow::CreateEx(title, kFloatingStyle, kFloatingExStyle, owner, menuId,
                                           iconId, smallIconId, rect);
    m_container = static_cast<HWND>(parent);
    m_own = m_hWnd;
    if (result && m_side > 0) {
        SetWindowLongPtrW(m_hWnd, GWL_STYLE, kDockedStyle);
        SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, 0);
        ::SetParent(m_hWnd, m_container);
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, kQuietFrame);
    }
    CalcFloatingSize();
    return result;
}

void CMyDockableWindow::UpdateContainer(void* container) {
    HWND window = static_cast<HWND>(container);
    if (window == nullptr) return;
    RECT client{};
    ::GetClientRect(window, &client);
    ::SendMessageW(window, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
}

void CMyDockableWindow::ResizeDockWindow(RECT* r) {
    if (m_content != nullptr && r != nullptr)
        ::MoveWindow(m_content, r->left, r->top, r->right, r->bottom, TRUE);
}

void CMyDockableWindow::ApplyStyles() {
    if (IsFloating()) {
        SetWindowLongPtrW(m_hWnd, GWL_STYLE, kFloatingStyle);
        SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, kFloatingExStyle);
        ::SetParent(m_hWnd, nullptr);
    } else {
        SetWindowLongPtrW(m_hWnd, GWL_STYLE, kDockedStyle);
        SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, 0);
        ::SetParent(m_hWnd, m_container);
    }
}

void CMyDockableWindow::RedrawDockingState() {
    if (m_hWnd == nullptr) return;
    m_dockFlags |= MY_DOCK_GUARD;
    ::ShowWindow(m_hWnd, SW_HIDE);
    ApplyStyles();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, kQuietFrame);
    if (m_content != nullptr) ::SetFocus(m_content);
    m_dockFlags &= ~MY_DOCK_GUARD;
    UpdateContainer(m_container);
    if (IsFloating())
        SetFloatingWindowPos(SWP_SHOWWINDOW);
    else
        ::ShowWindow(m_hWnd, SW_SHOWNA);
}

void CMyDockableWindow::SetFloatingWindowPos(unsigned int flags) {
    CalcFloatingSize();
    ::SetWindowPos(m_hWnd, nullptr, m_floatX, m_floatY, m_floatWindowWidth, m_floatWindowHeight,
                   flags);
}

void CMyDockableWindow::CalcFloatingSize() {
    RECT r{0, 0, m_floatClientWidth, m_floatClientHeight};
    ::AdjustWindowRectEx(&r, kFloatingStyle, FALSE, kFloatingExStyle);
    m_floatWindowWidth = static_cast<short>(r.right - r.left);
    m_floatWindowHeight = static_cast<short>(r.bottom - r.top);
}

void CMyDockableWindow::ShowDock() {
    if (m_hWnd == nullptr) return;
    m_dockFlags &= ~(MY_DOCK_HIDDEN | MY_DOCK_GUARD);
    if (m_content != nullptr) {
        RECT content{};
        ::GetWindowRect(m_content, &content);
        m_dockedSize = static_cast<short>(content.bottom - content.top);
    }
    if (IsFloating()) {
        CalcFloatingSize();
        ::SetWindowPos(m_hWnd, nullptr, m_floatX, m_floatY, m_floatWindowWidth, m_floatWindowHeight,
                       SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
    } else {
        m_dockFlags |= MY_DOCK_GUARD;
        SetFloatingWindowPos(SWP_SHOWWINDOW | SWP_NOACTIVATE);
        m_dockFlags &= ~MY_DOCK_GUARD;
        UpdateContainer(m_container);
    }
    if (m_content != nullptr)
        ::SetFocus(m_content);
    else
        ::SendMessageW(m_hWnd, WM_NCACTIVATE, 1, 0);
}

// --- Dragging ----------------------------------------------------------------------------

void CMyDockableWindow::DrawDragFrame() {
    HDC dc = ::GetDC(nullptr);
    if (dc == nullptr) return;
    const bool docked = m_dockedPreview != 0;
    HBITMAP pattern = ::CreateBitmap(8, 8, 1, 1, docked ? m_wDotPatternBmp2 : m_wDotPatternBmp1);
    HBRUSH brush = pattern != nullptr ? ::CreatePatternBrush(pattern) : nullptr;
    const int t = docked ? 1 : 3;
    const RECT& r = m_drag;
    ::SetBrushOrgEx(dc, r.left, r.top, nullptr);
    HGDIOBJ old = ::SelectObject(dc, brush);
    ::PatBlt(dc, r.left, r.top, r.right - r.left, t, PATINVERT);
    ::PatBlt(dc, r.right - t, r.top + t, t, r.bottom - r.top - 2 * t, PATINVERT);
    ::PatBlt(dc, r.left, r.bottom - t, r.right - r.left, t, PATINVERT);
    ::PatBlt(dc, r.left, r.top + t, t, r.bottom - r.top - 2 * t, PATINVERT);
    ::SelectObject(dc, old);
    if (brush != nullptr) ::DeleteObject(brush);
    if (pattern != nullptr) ::DeleteObject(pattern);
    ::ReleaseDC(nullptr, dc);
}

int CMyDockableWindow::CheckDockingPos() {
    DrawDragFrame();
    m_drag =
        ToRect(oskel::CentredDragRect(m_mouseX, m_mouseY, m_floatWindowWidth, m_floatWindowHeight));
    RECT window{};
    ::GetWindowRect(m_container, &window);
    const int side =
        oskel::DockDropSide(ToDock(m_drag), ToDock(window), ToDock(ClientOnScreen(m_container)),
                            m_dockFlags & kSides, m_nControlKeyDown != 0);
    m_dockedPreview = side != oskel::kDockFloat ? 1 : 0;
    return side;
}

void CMyDockableWindow::EndDrag() {
    if (m_lpOriginalDockHookProc != nullptr) ::UnhookWindowsHookEx(m_lpOriginalDockHookProc);
    m_lpOriginalDockHookProc = nullptr;
    m_hDraggingDockWnd = nullptr;
}

LRESULT CALLBACK CMyDockableWindow::MyDockableWindowDragHookProc(int code, WPARAM wParam,
                                                                 LPARAM lParam) {
    if (code == HC_ACTION && m_hDraggingDockWnd != nullptr) {
        if (wParam == VK_CONTROL) {
            const int down = (lParam & kKeyReleased) == 0 ? 1 : 0;
            if (down != m_nControlKeyDown) {
                m_nControlKeyDown = down;
                m_nMouseMoved |= kRecheckPreview;
                POINT cursor;
                ::GetCursorPos(&cursor);
                ::ScreenToClient(m_hDraggingDockWnd, &cursor);
                ::SendMessageW(m_hDraggingDockWnd, WM_MOUSEMOVE, MK_LBUTTON,
                               MAKELPARAM(cursor.x, cursor.y));
            }
            return 1;
        }
        if (wParam == VK_ESCAPE) ::PostMessageW(m_hDraggingDockWnd, WM_CANCELMODE, 0, 0);
    }
    return ::CallNextHookEx(m_lpOriginalDockHookProc, code, wParam, lParam);
}

LRESULT CMyDockableWindow::OnNCHitTest(int x, int y) {
    const LRESULT hit = CMyWindow::OnNCHitTest(x, y);
    if (IsFloating()) return hit;
    if (hit == HTBORDER || hit == HTCLIENT) {
        RECT w{};
        ::GetWindowRect(m_hWnd, &w);
        if (!(m_dockFlags & MY_DOCK_FIXED_EDGE)) {
            switch (DockedSide()) {
            case MY_DOCK_LEFT:
                if (x >= w.right - 3 && x <= w.right) return HTRIGHT;
                break;
            case MY_DOCK_RIGHT:
                if (x >= w.left && x <= w.left + 3) return HTLEFT;
                break;
            case MY_DOCK_TOP:
                if (y >= w.bottom - 3 && y <= w.bottom) return HTBOTTOM;
                break;
            case MY_DOCK_BOTTOM:
                if (y >= w.top && y <= w.top + 3) return HTTOP;
                break;
            default: break;
            }
        }
        return HTCAPTION;
    }
    return hit;
}

LRESULT CMyDockableWindow::OnNCLButtonDown(WPARAM hit, int x, int y) {
    if (hit == HTCAPTION) {
        if (m_dockFlags & MY_DOCK_NO_CAPTION_DRAG) return 0;
        m_nControlKeyDown = (::GetKeyState(VK_CONTROL) & 0x8000) ? 1 : 0;
        ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ::SetCapture(m_hWnd);
        m_hDraggingDockWnd = m_hWnd;
        m_lpOriginalDockHookProc = ::SetWindowsHookExW(WH_KEYBOARD, &MyDockableWindowDragHookProc,
                                                       nullptr, ::GetCurrentThreadId());
        ::GetWindowRect(m_hWnd, &m_drag);
        m_dockedPreview = IsFloating() ? 0 : 1;
        m_mouseX = x;
        m_mouseY = y;
        DrawDragFrame();
        m_nMouseMoved = 0;
        return 0;
    }
    if (hit == HTLEFT || hit == HTRIGHT || hit == HTTOP || hit == HTBOTTOM) {
        ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ::SetCapture(m_hWnd);
        m_resizing = m_hWnd;
        const int side = DockedSide();
        m_mouseX = (side == MY_DOCK_LEFT || side == MY_DOCK_RIGHT) ? x : y;
        return 0;
    }
    return CMyWindow::OnNCLButtonDown(hit, x, y);
}

LRESULT CMyDockableWindow::OnMouseMove(WPARAM keys, int x, int y) {
    POINT cursor{x, y};
    ::ClientToScreen(m_hWnd, &cursor);
    if (m_hDraggingDockWnd == m_hWnd && m_hWnd != nullptr) {
        if (cursor.x != m_mouseX || cursor.y != m_mouseY) {
            m_nMouseMoved |= 1;
            m_mouseX = cursor.x;
            m_mouseY = cursor.y;
        }
        if (m_nMouseMoved) {
            m_nMouseMoved &= ~kRecheckPreview;
            const int side = CheckDockingPos();
            if (m_dockedPreview)
                m_drag = ToRect(
                    oskel::DockedShape(side, ToDock(ClientOnScreen(m_container)), m_dockedSize));
            DrawDragFrame();
        }
        return 0;
    }
    if (m_resizing != nullptr) {
        RECT w{};
        ::GetWindowRect(m_hWnd, &w);
        const int side = DockedSide();
        const bool across = side == MY_DOCK_LEFT || side == MY_DOCK_RIGHT;
        const int now = across ? cursor.x : cursor.y;
        const int delta = now - m_mouseX;
        const int extent = across ? w.right - w.left : w.bottom - w.top;
        if (delta < extent)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, across ? extent + delta : w.right - w.left,
                           across ? w.bottom - w.top : extent + delta,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_mouseX = now;
        return 0;
    }
    return CMyWindow::OnMouseMove(keys, x, y);
}

LRESULT CMyDockableWindow::OnLButtonUp(WPARAM keys, int x, int y) {
    if (m_hDraggingDockWnd == m_hWnd && m_hWnd != nullptr) {
        EndDrag();
        if (!(m_nMouseMoved & 1)) {
            DrawDragFrame();
        } else {
            POINT cursor{x, y};
            ::ClientToScreen(m_hWnd, &cursor);
            m_mouseX = cursor.x;
            m_mouseY = cursor.y;
            const int side = CheckDockingPos();
            const bool toSide = side != oskel::kDockFloat;
            if (IsFloating() && !toSide) {
                ::SetWindowPos(m_hWnd, nullptr, m_drag.left, m_drag.top, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER);
            } else if (IsFloating()) {
                m_side = static_cast<signed char>(side);
                RedrawDockingState();
            } else if (!toSide) {
                m_floatX = static_cast<short>(m_drag.left < 0 ? 0 : m_drag.left);
                m_floatY = static_cast<short>(m_drag.top < 0 ? 0 : m_drag.top);
                m_side = static_cast<signed char>(m_side | oskel::kDockFloat);
                RedrawDockingState();
            } else {
                m_side = static_cast<signed char>(side);
                if (m_content != nullptr) ::InvalidateRect(m_content, nullptr, TRUE);
                UpdateContainer(m_container);
            }
        }
        ::ReleaseCapture();
        m_nMouseMoved = 0;
        return 0;
    }
    if (m_resizing != nullptr) {
        m_resizing = nullptr;
        ::ReleaseCapture();
        return 0;
    }
    return CMyWindow::OnLButtonUp(keys, x, y);
}

LRESULT CMyDockableWindow::OnCancelMode() {
    if (m_hDraggingDockWnd == m_hWnd && m_hWnd != nullptr) {
        EndDrag();
        DrawDragFrame();
        ::ReleaseCapture();
        m_nMouseMoved = 0;
    } else if (m_resizing != nullptr) {
        m_resizing = nullptr;
        ::ReleaseCapture();
    }
    return CMyWindow::OnCancelMode();
}

LRESULT CMyDockableWindow::OnNCLButtonDblClk(WPARAM hit, int x, int y) {
    if (hit != HTCAPTION) return CMyWindow::OnNCLButtonDblClk(hit, x, y);
    m_side = static_cast<signed char>(static_cast<unsigned char>(m_side) - oskel::kDockFloat);
    RedrawDockingState();
    return 0;
}

// --- Layout and painting -----------------------------------------------------------------

LRESULT CMyDockableWindow::OnWindowPosChanged(WINDOWPOS* p) {
    if ((m_dockFlags & MY_DOCK_GUARD) || p == nullptr) return 0;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (IsFloating()) {
        if (!(p->flags & SWP_NOMOVE)) {
            m_floatX = static_cast<short>(p->x);
            m_floatY = static_cast<short>(p->y);
        }
        if (!(p->flags & SWP_NOSIZE)) {
            m_floatWindowWidth = static_cast<short>(p->cx);
            m_floatWindowHeight = static_cast<short>(p->cy);
        }
        m_floatClientWidth = static_cast<short>(client.right);
        m_floatClientHeight = static_cast<short>(client.bottom);
    } else {
        RECT w{};
        ::GetWindowRect(m_hWnd, &w);
        const int side = DockedSide();
        const int extent =
            (side == MY_DOCK_LEFT || side == MY_DOCK_RIGHT) ? w.right - w.left : w.bottom - w.top;
        if (extent != m_dockedSize) {
            m_dockedSize = static_cast<short>(extent);
            UpdateContainer(m_container);
        }
    }
    RECT content;
    if (IsFloating()) {
        const int x = (m_dockFlags & MY_DOCK_GRIPPER_FLOATING) ? 3 : 0;
        content = RECT{x, 0, m_floatClientWidth, m_floatClientHeight - x};
    } else if (m_dockFlags & MY_DOCK_GRIPPER_DOCKED) {
        content = RECT{7, 0, client.right - 7, client.bottom};
    } else {
        content = client;
    }
    ResizeDockWindow(&content);
    return 0;
}

void CMyDockableWindow::DrawGripper(void* dc, RECT* r) {
    if (dc == nullptr || r == nullptr) return;
    ::DrawEdge(static_cast<HDC>(dc), r, BDR_RAISEDINNER, BF_RECT);
    ::OffsetRect(r, 3, 0);
    ::DrawEdge(static_cast<HDC>(dc), r, BDR_RAISEDINNER, BF_RECT);
}

LRESULT CMyDockableWindow::OnEraseBkgnd(void* dc) {
    if (dc == nullptr) return 1;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    ::FillRect(static_cast<HDC>(dc), &client, ::GetSysColorBrush(COLOR_3DFACE));
    if (!IsFloating() && (m_dockFlags & MY_DOCK_GRIPPER_DOCKED)) {
        RECT gripper{1, 1, 4, client.bottom};
        DrawGripper(dc, &gripper);
    } else if (IsFloating() && (m_dockFlags & MY_DOCK_GRIPPER_FLOATING)) {
        RECT gripper{1, 3, 4, client.bottom - 1};
        DrawGripper(dc, &gripper);
    }
    return 1;
}

LRESULT CMyDockableWindow::OnClose() {
    if (!(m_dockFlags & MY_DOCK_CLOSE_HIDES)) {
        ::DestroyWindow(m_hWnd);
        return 0;
    }
    m_dockFlags |= MY_DOCK_HIDDEN | MY_DOCK_GUARD;
    ::ShowWindow(m_hWnd, SW_HIDE);
    m_dockFlags &= ~MY_DOCK_GUARD;
    if (!IsFloating()) UpdateContainer(m_container);
    return 0;
}

LRESULT CMyDockableWindow::OnGetMinMaxInfo(MINMAXINFO* info) {
    if (info != nullptr && IsFloating() && (m_dockFlags & MY_DOCK_HIDDEN)) {
        info->ptMinTrackSize = POINT{m_floatWindowWidth, m_floatWindowHeight};
        info->ptMaxTrackSize = info->ptMinTrackSize;
        return 0;
    }
    return CMyWindow::OnGetMinMaxInfo(info);
}

LRESULT CMyDockableWindow::OnSettingChange(WPARAM, LPARAM) {
    if (IsFloating() && !(m_dockFlags & MY_DOCK_HIDDEN))
        SetFloatingWindowPos(SWP_NOACTIVATE | SWP_NOZORDER);
    return 0;
}

LRESULT CMyDockableWindow::OnNCDestroy() {
    HWND container = m_container;
    InitDockInfo();
    UpdateContainer(container);
    return 0;
}

// --- Activation of the container and its floating dock windows together --------------------

// A window of another program can have the same class (the class atom is shared), but its
// user data is an address in that program: only our own windows are read as objects.
CMyDockableWindow* CMyDockableWindow::FromWindow(HWND window) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId() || m_aDockingFrameAtom == 0 ||
        static_cast<ATOM>(GetClassLongPtrW(window, GCW_ATOM)) != m_aDockingFrameAtom)
        return nullptr;
    return reinterpret_cast<CMyDockableWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

BOOL CALLBACK CMyDockableWindow::ActivateProc(HWND window, LPARAM lParam) {
    auto* context = reinterpret_cast<EnumContext*>(lParam);
    CMyDockableWindow* other = FromWindow(window);
    if (other != nullptr && other->m_container == context->params->container &&
        reinterpret_cast<LPARAM>(other->m_own) == context->params->other) {
        context->sibling = true;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CMyDockableWindow::SyncActivateProc(HWND window, LPARAM lParam) {
    auto* context = reinterpret_cast<EnumContext*>(lParam);
    CMyDockableWindow* other = FromWindow(window);
    if (other != nullptr && other != context->self &&
        other->m_container == context->self->m_container && ::IsWindowVisible(window) &&
        reinterpret_cast<LPARAM>(window) != context->params->other)
        ::SendMessageW(window, WM_NCACTIVATE, static_cast<WPARAM>(context->params->active), -1);
    return TRUE;
}

LRESULT CMyDockableWindow::DockingActivate(MY_DOCK_PARAMS* r) {
    if (r->other == -1) {
        r->other = 0;
        return ::DefWindowProcW(m_hWnd, WM_NCACTIVATE, static_cast<WPARAM>(r->active), 0);
    }
    if (r->other == reinterpret_cast<LPARAM>(r->container) && r->container != nullptr)
        return ::DefWindowProcW(m_hWnd, WM_NCACTIVATE, 1, r->other);
    EnumContext context{this, r, false};
    ::EnumWindows(&ActivateProc, reinterpret_cast<LPARAM>(&context));
    if (!context.sibling && m_container != nullptr)
        ::EnumChildWindows(m_container, &ActivateProc, reinterpret_cast<LPARAM>(&context));
    if (context.sibling) {
        r->container = nullptr;
        return ::DefWindowProcW(m_hWnd, WM_NCACTIVATE, 1, r->other);
    }
    ::EnumWindows(&SyncActivateProc, reinterpret_cast<LPARAM>(&context));
    if (m_container != nullptr)
        ::EnumChildWindows(m_container, &SyncActivateProc, reinterpret_cast<LPARAM>(&context));
    if (m_container != nullptr && m_container != m_hWnd &&
        reinterpret_cast<LPARAM>(m_container) != r->other)
        ::SendMessageW(m_container, WM_NCACTIVATE, static_cast<WPARAM>(r->active), -1);
    return ::DefWindowProcW(m_hWnd, WM_NCACTIVATE, static_cast<WPARAM>(r->active), r->other);
}

LRESULT CMyDockableWindow::OnNCActivate(WPARAM active, LPARAM lParam) {
    MY_DOCK_PARAMS params{m_container, m_hWnd, static_cast<int>(active), lParam};
    return DockingActivate(&params);
}
