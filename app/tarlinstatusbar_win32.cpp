#include "tarlinstatusbar_win32.h"

#include "wide_win32.h"

#include <commctrl.h>

namespace {

// Right edges of the first three fields; the last reaches to the end of the bar.
const int kFieldEdges[CTarlinStatusbar::kFields] = {110, 205, 460, -1};

bool ValidField(int field) {
    return field >= 0 && field < CTarlinStatusbar::kFields;
}

} // namespace

CTarlinStatusbar::CTarlinStatusbar(unsigned int controlId) : m_controlId(controlId) {}

CTarlinStatusbar::~CTarlinStatusbar() {
    DestroyIcons();
}

void CTarlinStatusbar::DestroyIcons() {
    for (HICON& icon : m_icons) {
        if (icon != nullptr) ::DestroyIcon(icon);
        icon = nullptr;
    }
}

bool CTarlinStatusbar::Create() {
    m_window = ::CreateWindowExW(
        0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_TOOLTIPS, 0, 0, 0, 0, m_parent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(m_controlId)),
        reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(m_parent, GWLP_HINSTANCE)), nullptr);
    if (m_window == nullptr) return false;
    ::SendMessageW(m_window, SB_SETPARTS, kFields,
                   reinterpret_cast<LPARAM>(const_cast<int*>(kFieldEdges)));
    return true;
}

int CTarlinStatusbar::Layout() {
    RECT client;
    if (m_parent == nullptr || m_window == nullptr || !::GetClientRect(m_parent, &client))
        return -1;
    return ::SetWindowPos(m_window, nullptr, 0, client.bottom - m_height, client.right, m_height,
                          SWP_NOACTIVATE | SWP_NOZORDER)
               ? 1
               : 0;
}

bool CTarlinStatusbar::ShowText(int field) {
    return oskel::SendTextMessage(m_window, SB_SETTEXTW, static_cast<WPARAM>(field),
                                  m_texts[field].GetString()) != 0;
}

bool CTarlinStatusbar::SetText(int field, const char* text) {
    if (!ValidField(field) || m_window == nullptr) return false;
    if (m_texts[field].InitBuffer(text != nullptr ? text : "") != 1) return false;
    return ShowText(field);
}

bool CTarlinStatusbar::AppendText(int field, const char* text, bool withBlank) {
    if (!ValidField(field) || m_window == nullptr || text == nullptr) return false;
    if (withBlank && m_texts[field].Append(" ") != 1) return false;
    if (m_texts[field].Append(text) != 1) return false;
    return ShowText(field);
}

bool CTarlinStatusbar::SetTipText(int field, const char* text) {
    if (!ValidField(field) || m_window == nullptr || text == nullptr) return false;
    oskel::SendTextMessage(m_window, SB_SETTIPTEXTW, static_cast<WPARAM>(field), text);
    return true;
}

bool CTarlinStatusbar::SetIcon(int field, HINSTANCE instance, unsigned int iconId) {
    if (!ValidField(field) || m_window == nullptr) return false;
    if (m_icons[field] != nullptr) ::DestroyIcon(m_icons[field]);
    m_icons[field] = static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(iconId), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    m_iconIds[field] = m_icons[field] != nullptr ? iconId : 0;
    ::SendMessageW(m_window, SB_SETICON, static_cast<WPARAM>(field),
                   reinterpret_cast<LPARAM>(m_icons[field]));
    return m_icons[field] != nullptr;
}

const char* CTarlinStatusbar::GetText(int field) const {
    if (!ValidField(field) || m_texts[field].GetString() == nullptr) return "";
    return m_texts[field].GetString();
}

unsigned int CTarlinStatusbar::GetIconId(int field) const {
    return ValidField(field) ? m_iconIds[field] : 0;
}
