#include "coloredtext.h"

#include "wide_win32.h"

#include <string>

CMyResidentBrush CMyColoredText::m_hBrush(BS_SOLID, ::GetSysColor(COLOR_3DFACE), 0);
CMyResidentFont CMyColoredText::m_hBoldFont(18, "Arial", 700, 0, 0, 0);
CMyResidentFont CMyColoredText::m_hFont(14, "MS Sans Serif", 400, 0, 0, 0);

CMyColoredText::CMyColoredText()
    : CMyControlWindow("_My_Colored_Text_"), m_text(128), m_parameters(), m_referenced(0) {}

CMyColoredText::~CMyColoredText() {
    // Destroyed with its window still there: the shared objects must still be released.
    if (m_referenced) OnDestroy();
    m_text.FreeBuffer();
}

// m_referenced has one bit per shared object the text holds a reference to: a reference that
// failed is never given back, which would release an object another text holds.
void CMyColoredText::AfterCreate() {
    for (int i = 0; i < kSharedCount; ++i)
        if (!(m_referenced & (1 << i)) && Shared(i).AddReference()) m_referenced |= 1 << i;
}

LRESULT CMyColoredText::OnDestroy() {
    for (int i = 0; i < kSharedCount; ++i)
        if (m_referenced & (1 << i)) Shared(i).ReleaseReference();
    m_referenced = 0;
    return CMyControlWindow::OnDestroy();
}

CMyResidentObject& CMyColoredText::Shared(int index) {
    if (index == 0) return m_hFont;
    if (index == 1) return m_hBoldFont;
    return m_hBrush;
}

LRESULT CMyColoredText::OnEraseBkgnd(void* dc) {
    if (dc == nullptr) return 1;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    HBRUSH brush = static_cast<HBRUSH>(m_hBrush.GetSafeHandle());
    ::FillRect(static_cast<HDC>(dc), &client,
               brush != nullptr ? brush : ::GetSysColorBrush(COLOR_3DFACE));
    return 1;
}

LRESULT CMyColoredText::OnPaint(void* context) {
    HDC dc = static_cast<HDC>(context);
    if (dc == nullptr) return 1;
    m_text.InitBuffer(GetWindowTextLengthA());
    GetWindowTextA(m_text.GetString(), m_text.GetCapacity() + 1);
    RECT client;
    ::GetClientRect(m_hWnd, &client);

    m_parameters = MY_COLORED_TEXT_STRUCT();
    if (m_hParent != nullptr)
        ::SendMessageW(m_hParent, MY_COLORED_TEXT_GETTEXTPARAM,
                       static_cast<WPARAM>(::GetDlgCtrlID(m_hWnd)),
                       reinterpret_cast<LPARAM>(&m_parameters));
    ::SetTextColor(dc, RGB(m_parameters.red, m_parameters.green, m_parameters.blue));
    HGDIOBJ font = m_parameters.bold ? m_hBoldFont.GetSafeHandle() : m_hFont.GetSafeHandle();
    HGDIOBJ oldFont = font != nullptr ? ::SelectObject(dc, font) : nullptr;
    ::SetBkMode(dc, TRANSPARENT);

    const unsigned int format =
        StyleConvert(static_cast<unsigned long>(GetWindowLongPtrW(m_hWnd, GWL_STYLE)));
    std::wstring wide = oskel::ToWide(m_text.GetString());
    // A path ellipsis writes the shortened text back; it needs room for the dots.
    const size_t length = wide.size();
    wide.resize(length + 8, L'\0');
    ::DrawTextW(dc, &wide[0], static_cast<int>(length), &client, format);
    if (format & DT_MODIFYSTRING) {
        const std::string shortened = oskel::ToCp1250(wide.c_str());
        m_text.SetString(shortened.c_str(), static_cast<int>(shortened.size()));
    }
    if (oldFont != nullptr) ::SelectObject(dc, oldFont);
    return 1;
}

unsigned int CMyColoredText::StyleConvert(unsigned long style) {
    static const unsigned int kFormats[8] = {
        0,                                  // 0x01 left aligned
        DT_RIGHT,                           // 0x02
        DT_SINGLELINE,                      // 0x04
        DT_SINGLELINE | DT_BOTTOM,          // 0x08
        DT_CENTER,                          // 0x10
        DT_SINGLELINE | DT_VCENTER,         // 0x20
        DT_WORDBREAK,                       // 0x40
        DT_PATH_ELLIPSIS | DT_MODIFYSTRING, // 0x80
    };
    unsigned int format = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (style & (1UL << bit)) format |= kFormats[bit];
    return format;
}
