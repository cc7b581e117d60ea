#include "chatdialog_win32.h"

#include "chatdialog_rc.h"
#include "chatdocking.h"
#include "contentsend_win32.h"
#include "hextext.h"
#include "windowtext_win32.h"

#include <algorithm>

namespace {

const char kTitle[] = " Tarlin ";
const char kUnknownSequence[] =
    "Zadaný text obsahuje neznámou sekvenci (označena v textu).\r\rSeznam podporovaných "
    "sekvencí lze najít v nápovědě.";
// The field holds 2048 bytes in the hexadecimal writing form.
const int kFieldLimit = 6143;

DockRect ToDockRect(const RECT& r) {
    return DockRect{r.left, r.top, r.right, r.bottom};
}

} // namespace

CChatDialog::CChatDialog(void* parent) : CMyDialog(IDD_CHAT, nullptr, parent), m_frame(nullptr) {}

void CChatDialog::SetMainWindow(HWND main) {
    m_main = main;
    SetParent(main);
}

void CChatDialog::SetCommands(const ChatCommandIds& ids) {
    m_commands = ids;
    m_frame.SetMoveCommand(ids.frameMove);
}

int CChatDialog::GetDockedHeight() const {
    RECT client;
    if (!m_docked || m_hWnd == nullptr || !::GetClientRect(m_hWnd, &client)) return 0;
    return client.bottom - client.top;
}

void CChatDialog::ClearHistory() {
    m_history.Clear();
    if (m_hWnd != nullptr) ::SendMessageW(GetDlgItem(IDC_CHAT_TEXT), CB_RESETCONTENT, 0, 0);
}

// --- Opening and closing ---------------------------------------------------------------------

LRESULT CChatDialog::OnInitDialog() {
    GetClientRect(&m_clientRect);
    NoteLayout();
    SetTexts();
    SetDialogItemFocus(IDC_CHAT_TEXT);
    RestorePosition();
    ::SendMessageW(GetDlgItem(IDC_CHAT_TEXT), CB_LIMITTEXT, kFieldLimit, 0);
    CreateFrame();
    if (!m_docked) Float();
    m_filter.Attach(Field(), [this] { return Checked(IDC_CHAT_HEX) && !m_listOpen; });
    if (m_data != nullptr) m_history.Load(*m_data);
    FillList();
    return 0; // the focus is set
}

void CChatDialog::SetTexts() {
    SetWindowTextA("Chat mode:");
    SetDlgItemTextA(IDC_CHAT_SEND, "Odeslat");
    SetDlgItemTextA(IDC_CHAT_CLOSE, "Konec");
    SetDlgItemTextA(IDC_CHAT_CR, "Na konec zprávy přidat znak '\\r' (CR)");
    SetDlgItemTextA(IDC_CHAT_LF, "Na konec zprávy přidat znak '\\n' (LF)");
    SetDlgItemTextA(IDC_CHAT_ESCAPES, "Povolit 'escape sekvence'");
    SetDlgItemTextA(IDC_CHAT_HEX, "Zapisovat znaky v HEXu");
}

// The frame lives from the first opening on, hidden while the line is docked or shut.
void CChatDialog::CreateFrame() {
    m_frame.SetHosted(m_hWnd);
    if (m_frame.GetSafeHandle() != nullptr && ::IsWindow(m_frame.GetSafeHandle())) return;
    m_frame.Create("Chat Mode", 0, m_main, 0, 0, 0, nullptr);
    m_frame.ShowModelessDialog(SW_HIDE);
}

// A position noted during this run is where the line reappears when it floats.
void CChatDialog::RestorePosition() {
    if (m_lastX == kNoPosition || m_lastY == kNoPosition) return;
    POINT place = {m_lastX, m_lastY};
    ::ScreenToClient(::GetParent(m_hWnd), &place);
    SetWindowPos(nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CChatDialog::OnClose() {
    if (m_main != nullptr && m_commands.chatMode != 0)
        ::SendMessageW(m_main, WM_COMMAND, m_commands.chatMode, 0);
    else
        CloseModelessDialog();
    ::ShowWindow(GetFrameWindow(), SW_HIDE);
    return 1;
}

LRESULT CChatDialog::OnDestroy() {
    NotePosition();
    if (m_data != nullptr) m_history.Save(*m_data);
    m_filter.Detach();
    const LRESULT result = CMyDialog::OnDestroy();
    ::ShowWindow(GetFrameWindow(), SW_HIDE);
    return result;
}

LRESULT CChatDialog::OnHelp(HELPINFO*) {
    if (m_help) m_help(m_hWnd);
    return 1;
}

// Only a floating line has a place of its own; docked, the main window places it.
LRESULT CChatDialog::OnMouseMove(WPARAM keys, int x, int y) {
    NotePosition();
    return CMyDialog::OnMouseMove(keys, x, y);
}

void CChatDialog::NotePosition() {
    RECT window;
    if (m_docked || !GetWindowRect(&window)) return;
    m_lastX = window.left;
    m_lastY = window.top;
}

// The message field takes the width the main window gives the docked line, down to a small
// minimum; the buttons keep to the right edge.
LRESULT CChatDialog::OnSize(WPARAM type, unsigned short width, unsigned short height) {
    if (m_layout.empty()) return CMyDialog::OnSize(type, width, height);
    const ItemPlace& field = m_layout.front();
    const int least = (field.rect.right - field.rect.left) / 4;
    const int grow = std::max(static_cast<int>(width) - static_cast<int>(m_clientRect.right),
                              least - static_cast<int>(field.rect.right - field.rect.left));
    for (const ItemPlace& place : m_layout) {
        RECT r = place.rect;
        if (place.id == IDC_CHAT_TEXT)
            r.right += grow;
        else
            OffsetRect(&r, grow, 0);
        MoveItemResize(place.id, r.left, r.top, r.right, r.bottom, nullptr);
    }
    // The items were moved without drawing.
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return CMyDialog::OnSize(type, width, height);
}

void CChatDialog::NoteLayout() {
    m_layout.clear();
    for (unsigned id : {IDC_CHAT_TEXT, IDC_CHAT_SEND, IDC_CHAT_CLOSE}) {
        ItemPlace place{id, {0, 0, 0, 0}};
        if (!GetDialogItemRect(id, &place.rect)) continue;
        // A combo box's height is that of its open list.
        RECT dropped;
        if (id == IDC_CHAT_TEXT && ::SendMessageW(GetDlgItem(id), CB_GETDROPPEDCONTROLRECT, 0,
                                                  reinterpret_cast<LPARAM>(&dropped)))
            place.rect.bottom = place.rect.top + (dropped.bottom - dropped.top);
        m_layout.push_back(place);
    }
}

// --- Docking ---------------------------------------------------------------------------------

LRESULT CChatDialog::OnLButtonDblClk(WPARAM, int, int) {
    ToggleDocking();
    return 0;
}

void CChatDialog::ToggleDocking() {
    if (m_hWnd == nullptr) return;
    if (m_docked)
        Float();
    else
        Dock();
    m_docked = !m_docked;
    RECT client = {0, 0, 0, 0};
    ::GetClientRect(m_main, &client);
    ::SendMessageW(m_main, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    SetDialogItemFocus(IDC_CHAT_TEXT);
}

// The frame's client area takes the line's size as created; the frame appears where the line
// last floated, or just above the place it was docked in.
void CChatDialog::Float() {
    HWND frame = GetFrameWindow();
    RECT outer, inner, own;
    ::GetWindowRect(frame, &outer);
    ::GetClientRect(frame, &inner);
    GetWindowRect(&own);
    POINT origin = {0, 0};
    ::ClientToScreen(frame, &origin);
    const int width = m_clientRect.right + (outer.right - outer.left) - inner.right;
    const int height = m_clientRect.bottom + (outer.bottom - outer.top) - inner.bottom;
    int x = own.left - (origin.x - outer.left), y = own.top - height - 4;
    if (m_lastX != kNoPosition && m_lastY != kNoPosition) {
        x = m_lastX - 1 - (origin.x - outer.left);
        y = m_lastY - 1 - (origin.y - outer.top);
    }
    ::SetWindowPos(frame, nullptr, x, std::max(0, y), width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetParent(m_hWnd, frame);
    SetWindowPos(nullptr, 1, 1, m_clientRect.right, m_clientRect.bottom,
                 SWP_NOZORDER | SWP_SHOWWINDOW);
    ::ShowWindow(frame, SW_SHOW);
}

void CChatDialog::Dock() {
    NotePosition();
    ::SetParent(m_hWnd, m_main);
    ::ShowWindow(GetFrameWindow(), SW_HIDE);
}

int CChatDialog::TrackFrameMove(bool ended) {
    HWND frame = GetFrameWindow();
    if (m_docked || m_hWnd == nullptr || frame == nullptr || !m_frame.IsDragged()) return 0;
    RECT client, outer;
    ::GetClientRect(m_main, &client);
    ::MapWindowPoints(m_main, nullptr, reinterpret_cast<POINT*>(&client), 2);
    ::GetWindowRect(frame, &outer);
    if (!FrameOverBottomEdge(ToDockRect(client), ToDockRect(outer))) return 0;
    if (ended) {
        ::SendMessageW(m_hWnd, WM_LBUTTONDBLCLK, 0, 0);
        return 0;
    }
    RECT own;
    GetWindowRect(&own);
    return own.bottom - own.top;
}

// --- Commands --------------------------------------------------------------------------------

LRESULT CChatDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    const WORD id = LOWORD(wParam), code = HIWORD(wParam);
    switch (id) {
    case IDOK:
    case IDCANCEL:
    case IDC_CHAT_CLOSE: return OnClose();
    case IDC_CHAT_SEND: return Send(), 1;
    case IDC_CHAT_TEXT: return OnTextNotification(code), 0;
    case IDC_CHAT_HEX: return code == BN_CLICKED ? (OnHexClicked(), 1) : 0;
    default: return Forward(wParam, lParam) ? 1 : 0;
    }
}

bool CChatDialog::Forward(WPARAM wParam, LPARAM lParam) {
    const auto& ids = m_commands.forwarded;
    if (m_main == nullptr || std::find(ids.begin(), ids.end(), LOWORD(wParam)) == ids.end())
        return false;
    ::SendMessageW(m_main, WM_COMMAND, wParam, lParam);
    return true;
}

void CChatDialog::OnTextNotification(WORD code) {
    if (code == CBN_SELCHANGE) OnSelectionChanged();
    if (code == CBN_DROPDOWN) m_listOpen = true;
    if (code == CBN_SELENDCANCEL) m_listOpen = false;
}

// A chosen entry brings back the options it was sent with.
void CChatDialog::OnSelectionChanged() {
    const int index =
        static_cast<int>(::SendMessageW(GetDlgItem(IDC_CHAT_TEXT), CB_GETCURSEL, 0, 0));
    m_listOpen = false;
    if (index < 0 || index >= m_history.GetCount()) return;
    const CChatHistory::Entry& entry = m_history.Get(index);
    Check(IDC_CHAT_CR, entry.flags & CChatHistory::kCR);
    Check(IDC_CHAT_LF, entry.flags & CChatHistory::kLF);
    Check(IDC_CHAT_ESCAPES, entry.flags & CChatHistory::kEscape);
    Check(IDC_CHAT_HEX, entry.flags & CChatHistory::kHex);
    EnableDialogItem(IDC_CHAT_ESCAPES, (entry.flags & CChatHistory::kHex) == 0);
    if (Checked(IDC_CHAT_HEX)) {
        SetFieldText(entry.text.c_str());
        CHexEditFilter::FormatField(Field());
    }
}

// Switching the hexadecimal writing converts the field so that it means the same bytes.
void CChatDialog::OnHexClicked() {
    CDynString converted;
    if (!Checked(IDC_CHAT_HEX)) {
        EnableDialogItem(IDC_CHAT_ESCAPES, 1);
        if (!HexToEscapeText(FieldText().c_str(), converted)) return;
        SetFieldText(converted.GetString());
        Check(IDC_CHAT_ESCAPES, true);
        return;
    }
    EnableDialogItem(IDC_CHAT_ESCAPES, 0);
    const uint32_t range =
        EscapeToHexText(FieldText().c_str(), Checked(IDC_CHAT_ESCAPES), converted);
    if (range == 0) {
        SetFieldText(converted.GetString());
        return;
    }
    EnableDialogItem(IDC_CHAT_ESCAPES, 1);
    Check(IDC_CHAT_HEX, false);
    if (range != 0xFFFFFFFF) MarkBadSequence(range);
}

// --- Sending ---------------------------------------------------------------------------------

void CChatDialog::Send() {
    if (m_data == nullptr || !m_data->IsConnected()) return;
    if (Checked(IDC_CHAT_HEX))
        SendHex();
    else
        SendTyped();
}

void CChatDialog::SendTyped() {
    const std::string typed = FieldText();
    if (!m_encoder.Reserve(static_cast<int>(typed.size()) + 5) ||
        !m_encoder.SetText(typed.c_str()) || !m_encoder.KeepTyped())
        return;
    SetDialogItemFocus(IDC_CHAT_TEXT);
    if (Checked(IDC_CHAT_ESCAPES)) {
        if (const uint32_t range = m_encoder.Decode()) return MarkBadSequence(range);
    }
    if (Checked(IDC_CHAT_CR)) m_encoder.AppendText("\r");
    if (Checked(IDC_CHAT_LF)) m_encoder.AppendText("\n");
    if (m_data->SendData(m_encoder.GetData(), m_encoder.GetLength()) != 1)
        Tell("Chyba při zápisu dat", MB_ICONEXCLAMATION);
    ShowCursorRow();
    AfterSend(typed, LineEndFlags() | (Checked(IDC_CHAT_ESCAPES) ? CChatHistory::kEscape : 0u));
}

// The block grows with the field, so a full field (2048 bytes) still takes CR and LF.
void CChatDialog::SendHex() {
    const std::string text = FieldText();
    CEscape block;
    if (ParseHexText(text.c_str(), block) <= 0) return;
    if (Checked(IDC_CHAT_CR)) block.AppendText("\r");
    if (Checked(IDC_CHAT_LF)) block.AppendText("\n");
    if (m_data->SendData(block.GetData(), block.GetLength()) != 1)
        return Tell("Data se nepodařilo odelsat!", MB_ICONEXCLAMATION);
    ShowCursorRow();
    AfterSend(text, LineEndFlags() | CChatHistory::kHex);
}

unsigned CChatDialog::LineEndFlags() {
    return (Checked(IDC_CHAT_CR) ? CChatHistory::kCR : 0u) |
           (Checked(IDC_CHAT_LF) ? CChatHistory::kLF : 0u);
}

// An empty text never enters the history: chat.ini cannot hold an empty value, and the first
// missing entry ends the list when it is read back.
void CChatDialog::AfterSend(const std::string& text, unsigned flags) {
    HWND combo = GetDlgItem(IDC_CHAT_TEXT);
    if (!text.empty()) {
        const int old = m_history.Find(text.c_str());
        m_history.Promote(text.c_str(), flags);
        if (old >= 0) ::SendMessageW(combo, CB_DELETESTRING, static_cast<WPARAM>(old), 0);
        ::SendMessageW(combo, CB_INSERTSTRING, 0,
                       reinterpret_cast<LPARAM>(oskel::ToWide(text.c_str()).c_str()));
    }
    ::SendMessageW(combo, CB_SETCURSEL, 0, 0);
    ::SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void CChatDialog::ShowCursorRow() {
    if (m_data != nullptr) RequestCursorRow(m_main, *m_data);
}

void CChatDialog::MarkBadSequence(uint32_t range) {
    HWND combo = GetDlgItem(IDC_CHAT_TEXT);
    const LPARAM selection = MAKELPARAM(CEscape::RangeStart(range), CEscape::RangeEnd(range));
    ::SetFocus(combo);
    ::SendMessageW(combo, CB_SETEDITSEL, 0, selection);
    Tell(kUnknownSequence, MB_ICONINFORMATION);
    ::SendMessageW(combo, CB_SETEDITSEL, 0, selection);
}

void CChatDialog::Tell(const char* text, unsigned type) {
    MessageBoxA(text, kTitle, MB_OK | type);
}

// --- The message field -----------------------------------------------------------------------

void CChatDialog::FillList() {
    HWND combo = GetDlgItem(IDC_CHAT_TEXT);
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < m_history.GetCount(); ++i)
        ::SendMessageW(
            combo, CB_ADDSTRING, 0,
            reinterpret_cast<LPARAM>(oskel::ToWide(m_history.Get(i).text.c_str()).c_str()));
}

HWND CChatDialog::Field() {
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    return ::GetComboBoxInfo(GetDlgItem(IDC_CHAT_TEXT), &info) ? info.hwndItem : nullptr;
}

std::string CChatDialog::FieldText() {
    return WindowTextOf(GetDlgItem(IDC_CHAT_TEXT));
}

void CChatDialog::SetFieldText(const char* text) {
    ::SetWindowTextW(GetDlgItem(IDC_CHAT_TEXT), oskel::ToWide(text).c_str());
}
