#include "pushbutton.h"

#include "gdiobject.h"

#include <windows.h>

#include <new>

namespace {

HWND g_anchor = nullptr;        // hidden button through which the class is changed
WNDPROC g_formerProc = nullptr; // the button class's own procedure
HWND g_heldButton = nullptr;    // button under a left-button press

CMyResidentPen g_greyPen(PS_SOLID, 1, 0x808080);
CMyResidentPen g_bluePen(PS_SOLID, 1, 0xFF0000);
CMyResidentPen g_dotPen(PS_DOT, 0, 0x0000FF);
CMyResidentBrush g_faceBrush(BS_SOLID, ::GetSysColor(COLOR_BTNFACE), 0);

const WPARAM kHotImage = 1001;

bool IsPushButton(HWND button) {
    const LONG_PTR type = GetWindowLongPtrW(button, GWL_STYLE) & 0x0F;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

void ReferenceDrawingObjects() {
    g_faceBrush.AddReference();
    g_greyPen.AddReference();
    g_bluePen.AddReference();
}

void ReleaseDrawingObjects() {
    g_faceBrush.ReleaseReference();
    g_greyPen.ReleaseReference();
    g_bluePen.ReleaseReference();
}

// Draws the segment from (x1, y1) to (x2, y2) with both end points.
void Segment(HDC dc, int x1, int y1, int x2, int y2) {
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
    ::LineTo(dc, x2 + (x2 > x1) - (x2 < x1), y2 + (y2 > y1) - (y2 < y1));
}

// Rectangle with cut corners.
void Outline(HDC dc, int l, int t, int r, int b) {
    Segment(dc, l + 4, t, r - 3, t);
    Segment(dc, r - 3, t + 1, r - 1, t + 1);
    Segment(dc, r - 1, t + 2, r - 1, t + 4);
    Segment(dc, r, t + 4, r, b - 3);
    Segment(dc, r - 1, b - 3, r - 1, b - 1);
    Segment(dc, r - 2, b - 1, r - 4, b - 1);
    Segment(dc, r - 4, b, l + 3, b);
    Segment(dc, l + 3, b - 1, l + 1, b - 1);
    Segment(dc, l + 1, b - 2, l + 1, b - 4);
    Segment(dc, l, b - 4, l, t + 3);
    Segment(dc, l + 1, t + 3, l + 1, t + 1);
    Segment(dc, l + 2, t + 1, l + 4, t + 1);
}

void FocusMark(HDC dc, const RECT& r) {
    const POINT points[] = {
        {r.left + 5, r.top + 3},     {r.right - 5, r.top + 3},    {r.right - 3, r.top + 5},
        {r.right - 3, r.bottom - 5}, {r.right - 5, r.bottom - 3}, {r.left + 5, r.bottom - 3},
        {r.left + 3, r.bottom - 5},  {r.left + 3, r.top + 5},     {r.left + 5, r.top + 3}};
    ::Polyline(dc, points, sizeof points / sizeof points[0]);
}

void DrawFace(HWND button, HDC dc, const MY_BUTTON_ENTRY& entry) {
    const bool pressed = entry.state & MY_BUTTON_PRESSED;
    const bool hot = entry.state & MY_BUTTON_HOT;
    const bool focus = entry.state & MY_BUTTON_FOCUS;
    const bool enabled = entry.state & MY_BUTTON_ENABLED;
    RECT client;
    ::GetClientRect(button, &client);
    RECT r = client;
    --r.right;
    --r.bottom;

    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageW(button, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = font != nullptr ? ::SelectObject(dc, font) : nullptr;
    HBRUSH face = static_cast<HBRUSH>(g_faceBrush.GetSafeHandle());
    ::FillRect(dc, &client, face != nullptr ? face : ::GetSysColorBrush(COLOR_BTNFACE));

    if (entry.icon != nullptr) {
        HICON icon =
            static_cast<HICON>(hot && entry.hotIcon != nullptr ? entry.hotIcon : entry.icon);
        ::DrawIcon(dc, pressed ? -2 : -4, pressed ? -3 : -4, icon);
    } else {
        wchar_t text[256];
        ::GetWindowTextW(button, text, 256);
        RECT area{r.left + 5, r.top + 5, r.right - 4, r.bottom - 4};
        if (pressed) ::OffsetRect(&area, 3, 1);
        ::SetTextColor(dc, ::GetSysColor(!enabled ? COLOR_GRAYTEXT
                                         : hot    ? COLOR_HIGHLIGHTTEXT
                                                  : COLOR_WINDOWTEXT));
        ::DrawTextW(dc, text, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }

    HGDIOBJ oldPen = ::SelectObject(dc, static_cast<HGDIOBJ>(g_bluePen.GetSafeHandle()));
    Outline(dc, r.left, r.top, r.right, r.bottom);
    if (!(enabled && focus)) ::SelectObject(dc, static_cast<HGDIOBJ>(g_greyPen.GetSafeHandle()));
    if (hot || focus) Outline(dc, r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
    if (focus) {
        ::SelectObject(dc, static_cast<HGDIOBJ>(g_greyPen.GetSafeHandle()));
        FocusMark(dc, r);
    }

    ::SetBkMode(dc, oldMode);
    if (oldFont != nullptr) ::SelectObject(dc, oldFont);
    ::SelectObject(dc, oldPen);
}

void Redraw(HWND button, const MY_BUTTON_ENTRY& entry) {
    HDC dc = ::GetWindowDC(button);
    if (dc == nullptr) return;
    DrawFace(button, dc, entry);
    ::ReleaseDC(button, dc);
}

// A paint message must validate the window, or the platform sends it again at once.
void PaintButton(HWND button, const MY_BUTTON_ENTRY& entry) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(button, &paint);
    if (dc != nullptr) DrawFace(button, dc, entry);
    ::EndPaint(button, &paint);
}

void ReportClick(HWND button) {
    const WPARAM id = static_cast<WPARAM>(::GetDlgCtrlID(button)) & 0xFFFF;
    ::SendMessageW(::GetParent(button), WM_COMMAND, id, reinterpret_cast<LPARAM>(button));
}

void ReplaceIcon(void*& slot, LPARAM icon) {
    if (slot != nullptr) ::DestroyIcon(static_cast<HICON>(slot));
    slot = reinterpret_cast<void*>(icon);
}

bool IsEnterOrSpace(WPARAM key) {
    return key == VK_RETURN || key == VK_SPACE;
}

LRESULT Former(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(g_formerProc, button, message, wParam, lParam);
}

LRESULT OnButtonCreate(HWND button, WPARAM wParam, LPARAM lParam) {
    if (IsPushButton(button)) {
        ReferenceDrawingObjects();
        oskel::ButtonRegistry().Add(button, ::IsWindowEnabled(button) ? MY_BUTTON_ENABLED : 0);
    }
    return Former(button, WM_CREATE, wParam, lParam);
}

LRESULT OnButtonDestroy(HWND button, WPARAM wParam, LPARAM lParam) {
    ReleaseDrawingObjects();
    const LRESULT result = Former(button, WM_DESTROY, wParam, lParam);
    if (g_heldButton == button) g_heldButton = nullptr;
    oskel::ButtonRegistry().Remove(button);
    return result;
}

LRESULT OnButtonMouseMove(HWND button, MY_BUTTON_ENTRY& entry, WPARAM keys) {
    if (g_heldButton == button && (keys & MK_LBUTTON)) {
        entry.state |= MY_BUTTON_PRESSED;
    } else {
        g_heldButton = nullptr;
        entry.state &= ~MY_BUTTON_PRESSED;
    }
    if (!(entry.state & MY_BUTTON_HOT)) {
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, button, 0};
        ::TrackMouseEvent(&track);
        entry.state |= MY_BUTTON_HOT;
        Redraw(button, entry);
    }
    return 0;
}

// Sets and clears state bits, redraws, and gives the message's result.
LRESULT Restate(HWND button, MY_BUTTON_ENTRY& entry, unsigned set, unsigned clear, LRESULT result) {
    entry.state = static_cast<unsigned char>((entry.state | set) & ~clear);
    Redraw(button, entry);
    return result;
}

// The parent may destroy the button while it handles the click.
void RedrawIfAlive(HWND button, MY_BUTTON_ENTRY& entry) {
    if (oskel::ButtonRegistry().Find(button) == &entry) Redraw(button, entry);
}

LRESULT OnButtonSetText(HWND button, MY_BUTTON_ENTRY& entry, WPARAM wParam, LPARAM lParam) {
    Former(button, WM_SETTEXT, wParam, lParam);
    return Restate(button, entry, 0, 0, 0);
}

LRESULT OnButtonSetImage(HWND button, MY_BUTTON_ENTRY& entry, WPARAM type, LPARAM image) {
    if (type == IMAGE_ICON) ReplaceIcon(entry.icon, image);
    if (type == kHotImage) ReplaceIcon(entry.hotIcon, image);
    Redraw(button, entry);
    return Former(button, BM_SETIMAGE, type, image);
}

LRESULT OnButtonKeyDown(HWND button, MY_BUTTON_ENTRY& entry, WPARAM key) {
    if ((entry.state & MY_BUTTON_ENABLED) && IsEnterOrSpace(key))
        Restate(button, entry, MY_BUTTON_PRESSED, 0, 0);
    return 0;
}

LRESULT OnButtonKeyUp(HWND button, MY_BUTTON_ENTRY& entry, WPARAM key) {
    if (IsEnterOrSpace(key) && (entry.state & MY_BUTTON_PRESSED)) {
        entry.state &= ~MY_BUTTON_PRESSED;
        ReportClick(button);
    }
    RedrawIfAlive(button, entry);
    return 0;
}

LRESULT OnButtonPress(HWND button, MY_BUTTON_ENTRY& entry) {
    g_heldButton = button;
    return Restate(button, entry, MY_BUTTON_PRESSED, 0, 0);
}

LRESULT OnButtonRelease(HWND button, MY_BUTTON_ENTRY& entry) {
    const bool click = entry.state & MY_BUTTON_PRESSED;
    entry.state &= ~MY_BUTTON_PRESSED;
    g_heldButton = nullptr;
    if (click) ReportClick(button);
    RedrawIfAlive(button, entry);
    return 0;
}

LRESULT CALLBACK PushButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return OnButtonCreate(button, wParam, lParam);
    MY_BUTTON_ENTRY* found = oskel::ButtonRegistry().Find(button);
    if (found == nullptr) return Former(button, message, wParam, lParam);
    MY_BUTTON_ENTRY& entry = *found;
    switch (message) {
    case WM_DESTROY: return OnButtonDestroy(button, wParam, lParam);
    case WM_SETFOCUS: return Restate(button, entry, MY_BUTTON_FOCUS, 0, 0);
    case WM_KILLFOCUS: return Restate(button, entry, 0, MY_BUTTON_FOCUS, 0);
    case WM_ENABLE:
        return Restate(button, entry, wParam ? MY_BUTTON_ENABLED : 0,
                       wParam ? 0 : MY_BUTTON_ENABLED, 0);
    case WM_SETTEXT: return OnButtonSetText(button, entry, wParam, lParam);
    case WM_PAINT: PaintButton(button, entry); return 0;
    case WM_ERASEBKGND: return Restate(button, entry, 0, 0, 0);
    case BM_SETIMAGE: return OnButtonSetImage(button, entry, wParam, lParam);
    case WM_KEYDOWN: return OnButtonKeyDown(button, entry, wParam);
    case WM_KEYUP: return OnButtonKeyUp(button, entry, wParam);
    case WM_MOUSEMOVE: return OnButtonMouseMove(button, entry, wParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return OnButtonPress(button, entry);
    case WM_LBUTTONUP: return OnButtonRelease(button, entry);
    case WM_MOUSELEAVE: return Restate(button, entry, 0, MY_BUTTON_HOT | MY_BUTTON_PRESSED, 1);
    default: return Former(button, message, wParam, lParam);
    }
}

} // namespace

// --- Registry ----------------------------------------------------------------------------

_My_Button_::_My_Button_() : m_first(nullptr), m_current(nullptr) {}

_My_Button_::~_My_Button_() {
    while (m_first != nullptr)
        Remove(m_first->button);
}

MY_BUTTON_ENTRY* _My_Button_::Add(void* button, unsigned char state) {
    auto* entry = new (std::nothrow) MY_BUTTON_ENTRY{button, state, nullptr, nullptr, m_first};
    if (entry == nullptr) return nullptr;
    m_first = entry;
    m_current = entry;
    return entry;
}

MY_BUTTON_ENTRY* _My_Button_::Find(void* button) {
    m_current = nullptr;
    for (MY_BUTTON_ENTRY* entry = m_first; entry != nullptr; entry = entry->next)
        if (entry->button == button) return m_current = entry;
    return nullptr;
}

int _My_Button_::Remove(void* button) {
    for (MY_BUTTON_ENTRY** link = &m_first; *link != nullptr; link = &(*link)->next) {
        MY_BUTTON_ENTRY* entry = *link;
        if (entry->button != button) continue;
        *link = entry->next;
        if (entry->icon != nullptr) ::DestroyIcon(static_cast<HICON>(entry->icon));
        if (entry->hotIcon != nullptr) ::DestroyIcon(static_cast<HICON>(entry->hotIcon));
        if (m_current == entry) m_current = nullptr;
        delete entry;
        return 1;
    }
    return 0;
}

int _My_Button_::GetCount() const {
    int count = 0;
    for (const MY_BUTTON_ENTRY* entry = m_first; entry != nullptr; entry = entry->next)
        ++count;
    return count;
}

namespace oskel {

_My_Button_& ButtonRegistry() {
    static _My_Button_ registry;
    return registry;
}

int StartButtonRestyling(void* instance) {
    if (g_anchor != nullptr) return 1;
    g_anchor = ::CreateWindowExW(0, L"BUTTON", L"EDIT Test", WS_POPUP, 0, 0, 50, 50, nullptr,
                                 nullptr, static_cast<HINSTANCE>(instance), nullptr);
    if (g_anchor == nullptr) return 0;
    g_formerProc = reinterpret_cast<WNDPROC>(
        SetClassLongPtrW(g_anchor, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PushButtonProc)));
    if (g_formerProc == nullptr) {
        ::DestroyWindow(g_anchor);
        g_anchor = nullptr;
        return 0;
    }
    return 1;
}

void StopButtonRestyling() {
    if (g_anchor == nullptr) return;
    SetClassLongPtrW(g_anchor, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_formerProc));
    ::DestroyWindow(g_anchor);
    g_anchor = nullptr;
}

} // namespace oskel
