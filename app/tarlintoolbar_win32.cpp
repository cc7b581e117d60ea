#include "tarlintoolbar_win32.h"

#include "wide_win32.h"
#include "portsetting.h"

#include <cstdio>

namespace {

const DWORD kBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                        TBSTYLE_TOOLTIPS | TBSTYLE_FLAT | CCS_NODIVIDER | CCS_NORESIZE;
const DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | CBS_DROPDOWNLIST;
// Buttons 9 and 10 (connect, renew) start disabled: the program starts connected.
const int kConnectPosition = 9;
const int kRenewPosition = 10;

HMENU AsId(unsigned int id) {
    return reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id));
}

HINSTANCE InstanceOf(HWND window) {
    return reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

void AddItem(HWND list, const char* text) {
    oskel::SendTextMessage(list, CB_ADDSTRING, 0, text);
}

} // namespace

CTarlinToolbar::CTarlinToolbar(const Ids& ids, const unsigned int (&commands)[kButtons])
    : m_ids(ids) {
    for (int i = 0; i < kButtons; ++i) {
        TBBUTTON& button = m_buttons[i];
        button = TBBUTTON{};
        button.iBitmap = i;
        button.idCommand = static_cast<int>(commands[i]);
        button.fsStyle = commands[i] == 0 ? BTNS_SEP : BTNS_BUTTON;
        button.fsState =
            i == kConnectPosition || i == kRenewPosition || commands[i] == 0 ? 0 : TBSTATE_ENABLED;
    }
}

CTarlinToolbar::~CTarlinToolbar() {
    for (HWND* window : {&m_parityList, &m_baudList, &m_dataBitsList, &m_listBar}) {
        if (*window != nullptr && ::IsWindow(*window)) ::DestroyWindow(*window);
        *window = nullptr;
    }
    if (m_window != nullptr && ::IsWindow(m_window)) ::DestroyWindow(m_window);
    m_window = nullptr;
    if (m_rebar != nullptr && ::IsWindow(m_rebar)) ::DestroyWindow(m_rebar);
    m_rebar = nullptr;
}

bool CTarlinToolbar::Create() {
    return CreateRebar() && CreateButtonBar() && CreateListBar();
}

bool CTarlinToolbar::CreateRebar() {
    m_rebar = ::CreateWindowExW(
        WS_EX_TOOLWINDOW, REBARCLASSNAMEW, nullptr,
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | RBS_VARHEIGHT |
            RBS_BANDBORDERS | CCS_NODIVIDER | CCS_NOPARENTALIGN,
        0, 0, 200, 100, m_parent, AsId(m_ids.rebar), InstanceOf(m_parent), nullptr);
    if (m_rebar == nullptr) return false;
    REBARINFO info{};
    info.cbSize = sizeof info;
    ::SendMessageW(m_rebar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    return true;
}

bool CTarlinToolbar::CreateButtonBar() {
    m_window =
        ::CreateToolbarEx(m_rebar, kBarStyle, m_ids.buttonBar, kButtons, InstanceOf(m_parent),
                          m_ids.bitmap, m_buttons, kButtons, 16, 16, 16, 16, sizeof(TBBUTTON));
    if (m_window == nullptr) return false;
    // Commands and tip requests go straight to the main window.
    ::SendMessageW(m_window, TB_SETPARENT, reinterpret_cast<WPARAM>(m_parent), 0);
    HWND tips = reinterpret_cast<HWND>(::SendMessageW(m_window, TB_GETTOOLTIPS, 0, 0));
    if (tips != nullptr) ::SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, 500);
    InsertBand(m_window, nullptr, 345, 250);
    return true;
}

bool CTarlinToolbar::CreateListBar() {
    m_listBar = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, kBarStyle, 0, 0, 0, 0, m_rebar,
                                  AsId(m_ids.buttonBar), InstanceOf(m_parent), nullptr);
    if (m_listBar == nullptr) return false;
    ::SendMessageW(m_listBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageW(m_listBar, TB_SETPARENT, reinterpret_cast<WPARAM>(m_parent), 0);
    m_listFont.CreateFontA(14, "Arial", FW_NORMAL, 0, 0, 0);
    m_baudList = CreateList(0, 75, m_ids.baudList);
    m_dataBitsList = CreateList(80, 45, m_ids.dataBitsList);
    m_parityList = CreateList(130, 110, m_ids.parityList);
    if (m_baudList == nullptr || m_dataBitsList == nullptr || m_parityList == nullptr) return false;
    char number[16];
    for (int32_t rate : kBaudRates) {
        std::snprintf(number, sizeof number, "%d", static_cast<int>(rate));
        AddItem(m_baudList, number);
    }
    for (const char* bits : kByteSizeNames)
        AddItem(m_dataBitsList, bits);
    for (int parity = 0; parity <= 4; ++parity)
        AddItem(m_parityList, GetParityName(parity));
    InsertBand(m_listBar, L"Nastavení portu:", 240, 300);
    return true;
}

HWND CTarlinToolbar::CreateList(int x, int width, unsigned int id) {
    HWND list = ::CreateWindowExW(0, WC_COMBOBOXW, nullptr, kListStyle, x, 0, width, 100, m_listBar,
                                  AsId(id), InstanceOf(m_parent), nullptr);
    if (list != nullptr && m_listFont.GetSafeHandle() != nullptr)
        ::SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(m_listFont.GetSafeHandle()), 0);
    return list;
}

void CTarlinToolbar::InsertBand(HWND child, const wchar_t* text, int minWidth, int width) {
    const DWORD buttonSize = static_cast<DWORD>(::SendMessageW(child, TB_GETBUTTONSIZE, 0, 0));
    REBARBANDINFOW band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID |
                 (text != nullptr ? RBBIM_TEXT : 0);
    band.fStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP;
    band.lpText = const_cast<wchar_t*>(text);
    band.hwndChild = child;
    band.cxMinChild = static_cast<UINT>(minWidth);
    band.cyMinChild = HIWORD(buttonSize);
    band.cx = static_cast<UINT>(width);
    band.wID = m_ids.buttonBar;
    ::SendMessageW(m_rebar, RB_INSERTBANDW, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(&band));
}

int CTarlinToolbar::Layout() {
    RECT client, rebar;
    if (m_parent == nullptr || m_rebar == nullptr || !::GetClientRect(m_parent, &client) ||
        !::GetWindowRect(m_rebar, &rebar))
        return -1;
    m_height = rebar.bottom - rebar.top;
    // The rebar keeps its own height; only its width follows the window.
    return ::SetWindowPos(m_rebar, nullptr, 0, 0, client.right, m_height,
                          SWP_NOACTIVATE | SWP_NOZORDER)
               ? 1
               : 0;
}

void CTarlinToolbar::EnableButton(unsigned int command, bool enable) {
    if (m_window != nullptr)
        ::SendMessageW(m_window, TB_ENABLEBUTTON, command, MAKELPARAM(enable ? 1 : 0, 0));
}

void CTarlinToolbar::PressButton(unsigned int command, bool pressed) {
    if (m_window != nullptr)
        ::SendMessageW(m_window, TB_PRESSBUTTON, command, MAKELPARAM(pressed ? 1 : 0, 0));
}

void CTarlinToolbar::SelectText(HWND list, const char* text) {
    const LRESULT index =
        oskel::SendTextMessage(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), text);
    if (index != CB_ERR) ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void CTarlinToolbar::SelectPortSetting(int baudRate, int byteSize, int parity) {
    if (m_baudList == nullptr) return;
    char number[16];
    std::snprintf(number, sizeof number, "%d", baudRate);
    SelectText(m_baudList, number);
    std::snprintf(number, sizeof number, "%d", byteSize);
    SelectText(m_dataBitsList, number);
    if (parity >= 0 && parity <= 4)
        ::SendMessageW(m_parityList, CB_SETCURSEL, static_cast<WPARAM>(parity), 0);
}

void CTarlinToolbar::EnableLists(bool enable) {
    for (HWND list : {m_baudList, m_dataBitsList, m_parityList})
        if (list != nullptr) ::EnableWindow(list, enable ? TRUE : FALSE);
}

HWND CTarlinToolbar::GetList(unsigned int id) const {
    if (id == m_ids.baudList) return m_baudList;
    if (id == m_ids.dataBitsList) return m_dataBitsList;
    if (id == m_ids.parityList) return m_parityList;
    return nullptr;
}
