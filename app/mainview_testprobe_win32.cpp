// The main window's answer to the test harness (see testprobe_win32.h).
#include "mainview_win32.h"

#include "tarlin_rc.h"
#include "tarlindata.h"
#include "terminalfont_win32.h"
#include "testprobe_win32.h"
#include "wide_win32.h"

#include <commctrl.h>

#include <cstdarg>
#include <cstdio>

namespace {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Format(const char* format, ...) {
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

std::string Hex(const uint8_t* bytes, int count) {
    std::string text;
    char pair[3];
    for (int i = 0; i < count; ++i) {
        std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
        text += pair;
    }
    return text;
}

std::string ListText(HWND list) {
    const LRESULT index = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return std::string();
    wchar_t text[64] = {};
    ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return oskel::ToCp1250(text);
}

} // namespace

LRESULT CMainView::AnswerTestProbe(LPARAM requester) {
    if (!IsTestProbeEnabled() || m_data == nullptr)
        return CMyWindow::OnCommand(kTestProbeCommand, requester);
    CTestProbeReport report;
    HMENU menu = GetMenu();
    for (unsigned int id = IDM_EXIT; id <= IDM_DISCONNECT_OPTIONS; ++id) {
        const UINT state = menu != nullptr ? ::GetMenuState(menu, id, MF_BYCOMMAND) : ~0u;
        if (state == static_cast<UINT>(-1)) continue;
        report.Add(Format("menu %u %d %d", id, (state & (MF_GRAYED | MF_DISABLED)) ? 0 : 1,
                          (state & MF_CHECKED) ? 1 : 0));
    }
    for (int field = 0; field < CTarlinStatusbar::kFields; ++field)
        report.Add(Format("status %d %u %s", field, m_statusbar.GetIconId(field),
                          m_statusbar.GetText(field)));
    for (unsigned int id : {IDC_BAUD_LIST, IDC_DATA_BITS_LIST, IDC_PARITY_LIST}) {
        HWND list = m_toolbar.GetList(id);
        report.Add(
            Format("list %u %d %s", id, ::IsWindowEnabled(list) ? 1 : 0, ListText(list).c_str()));
    }
    HWND bar = m_toolbar.GetWindow();
    const int buttons = static_cast<int>(::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < buttons; ++i) {
        TBBUTTON button{};
        RECT place{};
        if (!::SendMessageW(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)) ||
            button.idCommand == 0 ||
            !::SendMessageW(bar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&place)))
            continue;
        report.Add(Format("button %d %ld %ld %ld %ld", button.idCommand, place.left, place.top,
                          place.right, place.bottom));
    }
    CComm& port = m_data->GetPort();
    report.Add(Format("port %d %d %d %d %s", port.IsOpen(), port.GetBaudRate(), port.GetByteSize(),
                      port.GetParity(), port.GetPortName()));
    report.Add(Format("options %d %d %d %d %d %d %d", m_data->GetES(), m_data->GetHexOutput(),
                      m_data->GetAutoScroll(), m_data->GetEcho(), m_data->GetAlwaysClear(),
                      m_data->GetAlwaysWithoutClear(), m_data->GetChatMode()));
    report.Add(Format("bars %d %d %d %d", m_toolbar.IsVisible(), m_toolbar.GetHeight(),
                      m_statusbar.IsVisible(), m_statusbar.GetHeight()));
    report.Add(Format("upload %d %d %d", m_uploadCount, m_lastProgress[0], m_lastProgress[1]));
    const CTerminalFont& font = CTerminalFont::Shared();
    report.Add(Format("view %d %d %d %d %s", m_view.GetScrollPos(SB_VERT),
                      m_view.GetScrollPos(SB_HORZ), m_view.GetLineHeight(),
                      font.IsReplacement() ? 1 : 0, oskel::ToCp1250(font.GetFaceInUse()).c_str()));
    CStdBuffer& buffer = m_data->GetBuffer();
    CStdBufferHold hold(buffer);
    report.Add(Format("cursor %d %d %d %d", buffer.GetRow(), buffer.GetColumn(),
                      buffer.GetUsedLines(), buffer.WasCleared()));
    const int last =
        buffer.GetUsedLines() > buffer.GetRow() ? buffer.GetUsedLines() : buffer.GetRow();
    for (int row = 0; row <= last && row < CStdBuffer::kLines; ++row) {
        report.Add(Format("line %d ", row) +
                   std::string(buffer.GetLine(row), CStdBuffer::kColumns));
        report.Add(Format("attr %d ", row) +
                   Hex(buffer.GetLineAttributes(row), CStdBuffer::kColumns));
    }
    return report.SendTo(reinterpret_cast<HWND>(requester), m_hWnd) ? 1 : 0;
}
