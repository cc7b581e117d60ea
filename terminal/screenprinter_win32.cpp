#include "screenprinter_win32.h"

#include "printerror.h"
#include "printlayout.h"
#include "wide_win32.h"

#include <commdlg.h>

#include <string>

namespace {

const wchar_t kTitle[] = L" Tarlin ";

// What the print dialog hands back: the printer's context and its settings memory.
class CPrintDialogResult {
public:
    explicit CPrintDialogResult(HWND owner) : m_record() {
        m_record.lStructSize = sizeof m_record;
        m_record.hwndOwner = owner;
        m_record.Flags = PD_RETURNDC | PD_PRINTSETUP | PD_NOSELECTION | PD_COLLATE |
                         PD_USEDEVMODECOPIESANDCOLLATE;
    }
    ~CPrintDialogResult() {
        if (m_record.hDC != nullptr) ::DeleteDC(m_record.hDC);
        if (m_record.hDevMode != nullptr) ::GlobalFree(m_record.hDevMode);
        if (m_record.hDevNames != nullptr) ::GlobalFree(m_record.hDevNames);
    }
    CPrintDialogResult(const CPrintDialogResult&) = delete;
    CPrintDialogResult& operator=(const CPrintDialogResult&) = delete;

    PRINTDLGW& Record() { return m_record; }
    HDC GetDC() const { return m_record.hDC; }

private:
    PRINTDLGW m_record;
};

// The shared font selected into the printer's context for one document.
class CSelectedFont {
public:
    CSelectedFont(HDC dc, CMyResidentFont& font) : m_dc(dc), m_font(font) {
        m_referenced = m_font.AddReference() > 0;
        m_old = ::SelectObject(m_dc, static_cast<HGDIOBJ>(m_font.GetSafeHandle()));
    }
    ~CSelectedFont() {
        if (m_old != nullptr && m_old != HGDI_ERROR) ::SelectObject(m_dc, m_old);
        if (m_referenced) m_font.ReleaseReference();
    }
    CSelectedFont(const CSelectedFont&) = delete;
    CSelectedFont& operator=(const CSelectedFont&) = delete;

private:
    HDC m_dc;
    CMyResidentFont& m_font;
    HGDIOBJ m_old;
    bool m_referenced;
};

int MeasureLineHeight(HDC dc) {
    RECT measured = {0, 0, 0, 0};
    return ::DrawTextW(dc, L"Wy\u0164", 3, &measured, DT_CALCRECT);
}

} // namespace

CPrintFont::CPrintFont() : CMyResidentFont(26, "Fixedsys", FW_NORMAL, 0, 0, 0) {}

int CPrintFont::CreateResidentObject() {
    if (m_handle != nullptr) return 1;
    m_handle =
        ::CreateFontW(26, 0, 0, 0, FW_NORMAL, 0, 0, 0, EASTEUROPE_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"Fixedsys");
    return m_handle != nullptr ? 1 : 0;
}

CScreenPrinter::CScreenPrinter(HWND owner, CStdBuffer& buffer, CMyResidentFont& font)
    : m_owner(owner), m_buffer(buffer), m_font(font) {}

int CScreenPrinter::Print() {
    m_dialogError = 0;
    m_pagesPrinted = 0;
    CPrintDialogResult dialog(m_owner);
    if (!RunPrintDialog(dialog.Record())) {
        m_dialogError = ::CommDlgExtendedError();
        if (m_dialogError == 0) return kCancelled;
        Tell(PrinterErrorMessage(m_dialogError).c_str());
        return kDialogFailed;
    }
    if (dialog.GetDC() == nullptr) return kPrintFailed;
    CSelectedFont font(dialog.GetDC(), m_font);
    return PrintDocument(dialog.GetDC());
}

BOOL CScreenPrinter::RunPrintDialog(PRINTDLGW& record) {
    return ::PrintDlgW(&record);
}

int CScreenPrinter::PrintDocument(HDC dc) {
    const int height = ::GetDeviceCaps(dc, VERTRES) - ::GetDeviceCaps(dc, PHYSICALOFFSETY);
    const int lineHeight = MeasureLineHeight(dc);
    const PrintLayout layout = MakePrintLayout(height, lineHeight, m_buffer.GetUsedLines());

    DOCINFOW document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = L"Tarlin";
    if (::StartDocW(dc, &document) <= 0) {
        Tell("Error in StartDoc.");
        return kPrintFailed;
    }
    for (int page = 0; page < layout.pages; ++page) {
        if (!PrintPage(dc, page, lineHeight, layout)) {
            ::AbortDoc(dc);
            return kPrintFailed;
        }
    }
    if (::EndDoc(dc) <= 0) {
        Tell("Error in EndDoc.");
        return kPrintFailed;
    }
    return kPrinted;
}

// A page that cannot be started stays empty; one that cannot be ended ends the document.
bool CScreenPrinter::PrintPage(HDC dc, int page, int lineHeight, const PrintLayout& layout) {
    const int left = ::GetDeviceCaps(dc, PHYSICALOFFSETX);
    const int top = ::GetDeviceCaps(dc, PHYSICALOFFSETY);
    const int width = ::GetDeviceCaps(dc, HORZRES) - left;
    if (::StartPage(dc) <= 0) {
        Tell("Error in StartPage.");
    } else {
        RECT line = {left, top, width, top + lineHeight};
        const int first = PageFirstLine(layout, page);
        for (int i = 0; i < PageLineCount(layout, page); ++i)
            PrintLine(dc, first + i, line, lineHeight);
    }
    if (::EndPage(dc) <= 0) {
        Tell("Error in EndPage.");
        return false;
    }
    ++m_pagesPrinted;
    return true;
}

void CScreenPrinter::PrintLine(HDC dc, int row, RECT& line, int lineHeight) {
    char text[CStdBuffer::kColumns + 1];
    {
        CStdBufferHold hold(m_buffer);
        const char* stored = m_buffer.GetLine(row);
        for (int i = 0; i < CStdBuffer::kColumns; ++i)
            text[i] = stored != nullptr ? stored[i] : ' ';
    }
    text[CStdBuffer::kColumns] = 0;
    const std::wstring wide = oskel::ToWide(text);
    ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &line, DT_NOPREFIX);
    ::OffsetRect(&line, 0, lineHeight);
}

void CScreenPrinter::Tell(const char* text) {
    ::MessageBoxW(m_owner, oskel::ToWide(text).c_str(), kTitle, MB_OK | MB_ICONEXCLAMATION);
}
