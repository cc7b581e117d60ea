#include "helpdialog_win32.h"

#include "wide_win32.h"
#include "helpdialog_rc.h"
#include "tarlincmdline.h"
#include "terminalfont_win32.h"

#include <cstdlib>
#include <cstring>

namespace {

const char kHeading[] = "\r ------------------------------------------ "
                        "\r| Nápověda příkazové řádky aplikace Tarlin |"
                        "\r ------------------------------------------ \r\r";
const char kEntryEnd[] = "\r\r";
const int kExtraRoom = 300;
const int kWheelNotch = 120;

} // namespace

CHelpDialog::CHelpDialog(void* owner) : CMyDialog(IDD_COMMAND_LINE_HELP, nullptr, owner) {
    m_text.InitBuffer(512);
    CTerminalFont::Shared().AddReference();
}

CHelpDialog::~CHelpDialog() {
    CTerminalFont::Shared().ReleaseReference();
}

bool CHelpDialog::BuildText(CDynString& text) {
    int size = kExtraRoom;
    for (int row = 1; row <= CTarlinCmdLine::GetSwitchCount(); ++row)
        size += static_cast<int>(std::strlen(CTarlinCmdLine::GetHelpText(row)));
    if (text.InitBuffer(size) != 1 || text.Append(kHeading) != 1) return false;
    for (int row = 1; row <= CTarlinCmdLine::GetSwitchCount(); ++row)
        if (text.Append(CTarlinCmdLine::GetHelpText(row)) != 1 || text.Append(kEntryEnd) != 1)
            return false;
    return true;
}

int CHelpDialog::VerticalRange(const char* text) {
    int returns = 0;
    for (const char* c = text; c != nullptr && *c != 0; ++c)
        if (*c == '\r') ++returns;
    return returns + 1;
}

// The longest entry as a whole, not its longest line.
int CHelpDialog::HorizontalRange() {
    int longest = 0;
    for (int row = 1; row <= CTarlinCmdLine::GetSwitchCount(); ++row) {
        const int length = static_cast<int>(std::strlen(CTarlinCmdLine::GetHelpText(row)));
        if (length > longest) longest = length;
    }
    return longest;
}

LRESULT CHelpDialog::OnInitDialog() {
    SetWindowTextA("Nápověda k příkazové řádce");
    SetDlgItemTextA(IDOK, "&Pokračovat");
    SetDlgItemTextA(IDCANCEL, "&Ukončit aplikaci");
    m_built = BuildText(m_text);
    m_verticalRange = VerticalRange(m_built ? m_text.GetString() : nullptr);
    m_horizontalRange = HorizontalRange();
    m_step = 1;
    PlaceScrollBars();
    ::SetScrollRange(GetDlgItem(IDC_HELP_VSCROLL), SB_CTL, 0, m_verticalRange, TRUE);
    ::SetScrollRange(GetDlgItem(IDC_HELP_HSCROLL), SB_CTL, 0, m_horizontalRange, TRUE);
    SetDialogItemFocus(IDOK);
    return 0;
}

// The bars border the text's area exactly, whatever the dialog units come to in pixels.
void CHelpDialog::PlaceScrollBars() {
    RECT client;
    GetClientRect(&client);
    const int textRight = client.right - kRightMargin, textBottom = client.bottom - kBottomMargin;
    ::MoveWindow(GetDlgItem(IDC_HELP_VSCROLL), textRight, 0, kRightMargin, textBottom, TRUE);
    ::MoveWindow(GetDlgItem(IDC_HELP_HSCROLL), 0, textBottom, textRight, kRightMargin, TRUE);
}

LRESULT CHelpDialog::OnPaint(void* context) {
    HDC dc = static_cast<HDC>(context);
    if (dc == nullptr) return 0;
    RECT client;
    GetClientRect(&client);
    RECT area{0, 0, client.right - kRightMargin, client.bottom - kBottomMargin};
    ::FillRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    if (!m_built) return 1;
    const int row = ::GetScrollPos(GetDlgItem(IDC_HELP_VSCROLL), SB_CTL);
    const int column = ::GetScrollPos(GetDlgItem(IDC_HELP_HSCROLL), SB_CTL);
    RECT place{-kColumnWidth * column, -kLineHeight * row, area.right, area.bottom};
    HGDIOBJ font = CTerminalFont::Shared().GetSafeHandle();
    HGDIOBJ old = font != nullptr ? ::SelectObject(dc, font) : nullptr;
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, OPAQUE);
    const std::wstring text = oskel::ToWide(m_text.GetString());
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &place,
                DT_LEFT | DT_TOP | DT_NOPREFIX | DT_EXPANDTABS);
    if (old != nullptr) ::SelectObject(dc, old);
    return 1;
}

int CHelpDialog::NextPosition(unsigned short code, unsigned short pos, int current,
                              int range) const {
    int next = current;
    switch (code) {
    case SB_LINEUP: next = current - m_step; break;
    case SB_LINEDOWN: next = current + m_step; break;
    case SB_PAGEUP: next = current - kPageStep; break;
    case SB_PAGEDOWN: next = current + kPageStep; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: next = pos; break;
    default: return -1;
    }
    return next < 0 ? 0 : (next > range ? range : next);
}

// Serves both bars: the message's control says which.
LRESULT CHelpDialog::OnVScroll(unsigned short code, unsigned short pos, void* control) {
    HWND bar = static_cast<HWND>(control);
    const bool horizontal = bar != nullptr && bar == GetDlgItem(IDC_HELP_HSCROLL);
    if (!horizontal) bar = GetDlgItem(IDC_HELP_VSCROLL);
    const int range = horizontal ? m_horizontalRange : m_verticalRange;
    const int next = NextPosition(code, pos, ::GetScrollPos(bar, SB_CTL), range);
    if (next < 0) return 0;
    ::SetScrollPos(bar, SB_CTL, next, TRUE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    m_step = 1;
    return 0;
}

LRESULT CHelpDialog::OnHScroll(unsigned short code, unsigned short pos, void* control) {
    m_step = 1;
    return OnVScroll(code, pos, control);
}

LRESULT CHelpDialog::OnMouseWheel(unsigned short, int delta, int, int) {
    if (delta == 0) return 0;
    m_step = 2 * std::abs(delta / kWheelNotch);
    return OnVScroll(delta > 0 ? SB_LINEUP : SB_LINEDOWN, 0, GetDlgItem(IDC_HELP_VSCROLL));
}

LRESULT CHelpDialog::OnCommand(WPARAM wParam, LPARAM) {
    const unsigned id = LOWORD(wParam);
    if (id != IDOK && id != IDCANCEL) return 0;
    EndDialog(id);
    return 1;
}
