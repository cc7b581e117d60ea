#include "tarlinview_win32.h"

#include "codepage.h"
#include "terminalfont_win32.h"
#include "viewscroll.h"

#include <random>
#include <string>

namespace {

// Measured for the line height: capitals, a descender and a Czech capital.
const char kHeightSample[] = "WČyW123456789012345678901234567890123456789012345678901234567890";
// One full line of the buffer, for the line rectangle.
const char kLineSample[] =
    "12345678901234567890123456789012345678901234567890123456789012345678901234567890";

const UINT kTextFormat = DT_NOPREFIX | DT_SINGLELINE | DT_LEFT | DT_TOP;

// cp1250 bytes to UTF-16, one unit per byte: the cells keep their places.
void Widen(const char* text, int count, wchar_t* out) {
    for (int i = 0; i < count; ++i)
        out[i] = static_cast<wchar_t>(OskelCp1250ToUnicode(static_cast<unsigned char>(text[i])));
}

RECT MeasureText(HDC dc, const char* sample) {
    wchar_t wide[128];
    const int count = static_cast<int>(std::char_traits<char>::length(sample));
    Widen(sample, count, wide);
    RECT rect{0, 0, 0, 0};
    ::DrawTextW(dc, wide, count, &rect, kTextFormat | DT_CALCRECT);
    return rect;
}

unsigned int RandomTimerId() {
    std::random_device seed;
    std::minstd_rand generator(seed());
    return std::uniform_int_distribution<unsigned int>(0, 9998)(generator);
}

} // namespace

// A memory drawing surface with its bitmap selected; both go with the object.
class CTarlinView::Surface {
public:
    Surface(HDC compatible, HBITMAP bitmap)
        : m_dc(::CreateCompatibleDC(compatible)), m_bitmap(bitmap) {
        if (m_dc != nullptr && m_bitmap != nullptr) m_old = ::SelectObject(m_dc, m_bitmap);
    }
    ~Surface() {
        if (m_old != nullptr) ::SelectObject(m_dc, m_old);
        if (m_bitmap != nullptr) ::DeleteObject(m_bitmap);
        if (m_dc != nullptr) ::DeleteDC(m_dc);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    HDC Get() const { return m_old != nullptr ? m_dc : nullptr; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old = nullptr;
};

CTarlinView::CTarlinView(unsigned int logoBitmap, unsigned int refreshCommand)
    : CMyWindow("TarlinViewClass"), m_logoBitmap(logoBitmap), m_refreshCommand(refreshCommand) {}

CTarlinView::~CTarlinView() {
    m_back.reset();
    m_logo.reset();
}

LRESULT CTarlinView::OnChar(char c, unsigned long data) {
    // The parent gets the character as typed (UTF-16), whatever the system's code page.
    return ::SendMessageW(m_hParent, WM_CHAR, OskelCp1250ToUnicode(static_cast<unsigned char>(c)),
                          static_cast<LPARAM>(data));
}

LRESULT CTarlinView::OnCommand(WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(m_hParent, WM_COMMAND, wParam, lParam);
}

LRESULT CTarlinView::OnKeyUp(WPARAM key, LPARAM data) {
    return ::SendMessageW(m_hParent, WM_KEYUP, key, data);
}

LRESULT CTarlinView::OnCreate(CREATESTRUCTW*) {
    HDC screen = ::GetDC(nullptr);
    const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN) > ::GetSystemMetrics(SM_CXSCREEN)
                          ? ::GetSystemMetrics(SM_CXVIRTUALSCREEN)
                          : ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN) > ::GetSystemMetrics(SM_CYSCREEN)
                           ? ::GetSystemMetrics(SM_CYVIRTUALSCREEN)
                           : ::GetSystemMetrics(SM_CYSCREEN);
    m_back = std::make_unique<Surface>(screen, ::CreateCompatibleBitmap(screen, width, height));
    m_logo = std::make_unique<Surface>(
        screen, ::LoadBitmapW(GetSafeInstance(), MAKEINTRESOURCEW(m_logoBitmap)));
    ::ReleaseDC(nullptr, screen);
    m_timerId = RandomTimerId();
    SetTimer(m_timerId, kTimerMs, nullptr);
    m_fontReferenced = CTerminalFont::Shared().AddReference() > 0 ? 1 : 0;
    SetScrollRange(SB_VERT, 0, kViewLines, 0);
    SetScrollRange(SB_HORZ, 0, kViewColumns, 0);
    InvalidateAll();
    return 0;
}

LRESULT CTarlinView::OnDestroy() {
    KillTimer(m_timerId);
    if (m_fontReferenced) CTerminalFont::Shared().ReleaseReference();
    m_fontReferenced = 0;
    ::PostQuitMessage(0);
    return CMyWindow::OnDestroy();
}

LRESULT CTarlinView::OnEraseBkgnd(void*) {
    return 1;
}

LRESULT CTarlinView::OnHScroll(unsigned short code, unsigned short pos, void*) {
    Scroll(SB_HORZ, code, pos, 1);
    return 0;
}

LRESULT CTarlinView::OnVScroll(unsigned short code, unsigned short pos, void*) {
    if (code == kScrollFollowCursor)
        FollowCursor(pos);
    else
        Scroll(SB_VERT, code, pos, 1);
    return 0;
}

LRESULT CTarlinView::OnMouseWheel(unsigned short, int delta, int, int) {
    int code = 0, step = 0;
    WheelScroll(delta, &code, &step);
    if (step > 0) Scroll(SB_VERT, code, 0, step);
    return 0;
}

LRESULT CTarlinView::OnLButtonDown(WPARAM keys, int x, int y) {
    SetFocus();
    return CMyWindow::OnLButtonDown(keys, x, y);
}

LRESULT CTarlinView::OnTimer(WPARAM, TIMERPROC) {
    ::PostMessageW(m_hParent, WM_COMMAND, m_refreshCommand, 0);
    if (m_data != nullptr && m_data->GetBuffer().IsChanged(true)) InvalidateAll();
    return 0;
}

void CTarlinView::Scroll(int bar, int code, int thumb, int step) {
    const int end = bar == SB_VERT ? kViewLines : kViewColumns;
    const int position = GetScrollPos(bar);
    const int next = NextScrollPosition(code, position, thumb, step, end);
    if (next != position) SetPosition(bar, next);
}

void CTarlinView::FollowCursor(int row) {
    if (m_data == nullptr || m_data->GetAutoScroll() != 1) return;
    RECT client;
    if (!GetClientRect(&client)) return;
    const int position = GetScrollPos(SB_VERT);
    const int next = FollowCursorPosition(position, row, client.bottom, m_lineHeight);
    if (next != position) SetPosition(SB_VERT, next);
}

void CTarlinView::SetPosition(int bar, int position) {
    SetScrollPos(bar, position, 1);
    InvalidateAll();
}

void CTarlinView::InvalidateAll() {
    RECT client;
    if (GetClientRect(&client)) InvalidateRect(&client, 0);
}

void CTarlinView::FitToParent(int top, int bottom) {
    RECT parent;
    if (!GetParentClientRect(&parent)) return;
    const int height = parent.bottom - top - bottom;
    SetWindowPos(nullptr, 0, top, parent.right, height > 0 ? height : 0,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTarlinView::ShowDockFrame(int height) {
    m_dockFrameHeight = height;
    InvalidateAll();
}

LRESULT CTarlinView::OnPaint(void* paintDC) {
    HDC dc = m_back != nullptr ? m_back->Get() : nullptr;
    if (m_data == nullptr || paintDC == nullptr || dc == nullptr) return 0;
    RECT client;
    GetClientRect(&client);
    HGDIOBJ oldFont = ::SelectObject(dc, CTerminalFont::Shared().GetSafeHandle());
    MeasureLineHeight(dc);
    const int firstLine =
        GetScrollPos(SB_VERT) < kViewLines - 1 ? GetScrollPos(SB_VERT) : kViewLines - 1;
    const int firstColumn =
        GetScrollPos(SB_HORZ) < kViewColumns - 1 ? GetScrollPos(SB_HORZ) : kViewColumns - 1;
    DrawBackground(dc, client);
    DrawLines(dc, client, firstLine, firstColumn);
    if (oldFont != nullptr) ::SelectObject(dc, oldFont);
    if (m_dockFrameHeight > 0) DrawDockFrame(dc, client);
    ::BitBlt(static_cast<HDC>(paintDC), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    return 0;
}

void CTarlinView::MeasureLineHeight(HDC dc) {
    const RECT sample = MeasureText(dc, kHeightSample);
    m_lineHeight = sample.bottom - sample.top > 0 ? sample.bottom - sample.top : 15;
}

void CTarlinView::DrawBackground(HDC dc, const RECT& client) {
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    HDC logo = m_logo != nullptr ? m_logo->Get() : nullptr;
    if (logo == nullptr) return;
    const int width = 160, height = 82;
    ::BitBlt(dc, (client.right - width) / 2, (client.bottom - height) / 2, width, height, logo, 0,
             0, SRCCOPY);
}

void CTarlinView::DrawLines(HDC dc, const RECT& client, int firstLine, int firstColumn) {
    CStdBuffer& buffer = m_data->GetBuffer();
    RECT line = MeasureText(dc, kLineSample);
    ::OffsetRect(&line, -firstColumn * kViewColumnPixels, 0);
    const int count = LinesToDraw(firstLine, client.bottom, m_lineHeight);
    const int savedMode = ::SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < count; ++i) {
        const int row = firstLine + i;
        if (buffer.IsLineMixed(row))
            DrawMixedLine(dc, buffer, row, line, savedMode);
        else
            DrawUniformLine(dc, buffer, row, line);
        ::OffsetRect(&line, 0, m_lineHeight);
    }
    ::SetBkMode(dc, savedMode);
}

void CTarlinView::DrawMixedLine(HDC dc, CStdBuffer& buffer, int row, RECT line, int savedMode) {
    const char* text = buffer.GetLine(row);
    const int cellWidth = (line.right - line.left) / kViewColumns;
    for (int column = 0; column < kViewColumns; ++column) {
        RECT cell{line.left + column * cellWidth, line.top, line.left + (column + 1) * cellWidth,
                  line.bottom};
        ::SetBkMode(dc, buffer.IsWhiteBack(row, column) ? TRANSPARENT : savedMode);
        ::SetTextColor(dc, buffer.GetTextColor(row, column));
        ::SetBkColor(dc, buffer.GetBackColor(row, column));
        wchar_t glyph;
        Widen(text + column, 1, &glyph);
        ::DrawTextW(dc, &glyph, 1, &cell, kTextFormat);
    }
}

// One call for the whole line. Its background shows exactly as a cell's would, so a line
// looks the same whichever way it is drawn.
void CTarlinView::DrawUniformLine(HDC dc, CStdBuffer& buffer, int row, RECT line) {
    wchar_t wide[kViewColumns];
    Widen(buffer.GetLine(row), kViewColumns, wide);
    ::SetBkMode(dc, buffer.IsWhiteBack(row, 0) ? TRANSPARENT : OPAQUE);
    ::SetTextColor(dc, buffer.GetTextColor(row, 0));
    ::SetBkColor(dc, buffer.GetBackColor(row, 0));
    ::DrawTextW(dc, wide, kViewColumns, &line, kTextFormat);
}

void CTarlinView::DrawDockFrame(HDC dc, const RECT& client) {
    // Only a geometric pen keeps its dashes at two pixels' width.
    LOGBRUSH grey{BS_SOLID, RGB(0x80, 0x80, 0x80), 0};
    HPEN pen = ::ExtCreatePen(PS_GEOMETRIC | PS_DASH, 2, &grey, 0, nullptr);
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    const int oldMix = ::SetROP2(dc, R2_NOTXORPEN);
    const int left = client.left + 1, right = client.right - 1, bottom = client.bottom - 1;
    const int top = bottom - m_dockFrameHeight;
    POINT frame[] = {{left, bottom}, {left, top}, {right, top}, {right, bottom}, {left, bottom}};
    ::Polyline(dc, frame, 5);
    ::SetROP2(dc, oldMix);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
}
