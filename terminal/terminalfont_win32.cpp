#include "terminalfont_win32.h"

#include "czechfont.h"
#include "screendc_win32.h"

namespace {

// TrueType faces tried in turn; the last names what Wine's own fonts and a bare Linux
// desktop offer.
const wchar_t* const kReplacementFaces[] = {L"Courier New", L"Lucida Console", L"Consolas",
                                            L"DejaVu Sans Mono", L"Liberation Mono"};

// Fixedsys's cell, for when no Fixedsys answers at all.
const LONG kFixedsysWidth = 8;
const LONG kFixedsysHeight = 15;

bool Monospaced(const TEXTMETRICW& metrics) {
    // The flag's name says the opposite of its meaning: set for variable pitch.
    return (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0 ||
           metrics.tmAveCharWidth == metrics.tmMaxCharWidth;
}

// Measures a font in dc; false when it cannot be selected.
bool Measure(HDC dc, HFONT font, TEXTMETRICW* metrics) {
    HGDIOBJ old = ::SelectObject(dc, font);
    if (old == nullptr) return false;
    const bool ok = ::GetTextMetricsW(dc, metrics) != 0;
    ::SelectObject(dc, old);
    return ok;
}

// Whether the font mapper really gave Fixedsys, not some other face for want of it.
bool IsFixedsys(HDC dc, HFONT font) {
    HGDIOBJ old = ::SelectObject(dc, font);
    if (old == nullptr) return false;
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(dc, LF_FACESIZE, face);
    ::SelectObject(dc, old);
    return ::lstrcmpiW(face, L"Fixedsys") == 0;
}

bool DrawsCzechWith(HDC dc, HFONT font) {
    HGDIOBJ old = ::SelectObject(dc, font);
    if (old == nullptr) return false;
    const bool ok = CMyCzechFont::DrawsCzech(dc) != 0;
    ::SelectObject(dc, old);
    return ok;
}

} // namespace

CTerminalFont::CTerminalFont() : CMyResidentFont(8, "Fixedsys", 400, 0, 0, 0) {}

CTerminalFont::~CTerminalFont() = default;

CTerminalFont& CTerminalFont::Shared() {
    static CTerminalFont font;
    return font;
}

HFONT CTerminalFont::CreateFixedsys(BYTE charset) const {
    return ::CreateFontW(8, 0, 0, 0, FW_NORMAL, 0, 0, 0, charset, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                         L"Fixedsys");
}

HFONT CTerminalFont::CreateReplacement(const wchar_t* face, const TEXTMETRICW& cell) const {
    return ::CreateFontW(cell.tmHeight, cell.tmAveCharWidth, 0, 0, FW_NORMAL, 0, 0, 0,
                         EASTEUROPE_CHARSET, OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS,
                         DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, face);
}

void CTerminalFont::Keep(HFONT font, bool replacement, HDC dc) {
    m_handle = font;
    m_replacement = replacement;
    HGDIOBJ old = ::SelectObject(dc, font);
    m_faceInUse[0] = 0;
    ::GetTextFaceW(dc, LF_FACESIZE, m_faceInUse);
    if (old != nullptr) ::SelectObject(dc, old);
}

int CTerminalFont::CreateResidentObject() {
    if (m_handle != nullptr) DeleteObject();
    CMyScreenDC screen;
    HFONT fixedsys = CreateFixedsys(EASTEUROPE_CHARSET);
    if (fixedsys == nullptr) return 0;
    TEXTMETRICW cell{};
    if (screen.Get() == nullptr || !Measure(screen.Get(), fixedsys, &cell)) {
        Keep(fixedsys, false, screen.Get());
        return 1;
    }
    const bool real = IsFixedsys(screen.Get(), fixedsys) && Monospaced(cell);
    if (real && DrawsCzechWith(screen.Get(), fixedsys)) {
        Keep(fixedsys, false, screen.Get());
        return 1;
    }
    // The replacement takes Fixedsys's cell, so lines keep their length and height; a
    // system without Fixedsys gets the cell Fixedsys has elsewhere.
    if (!real) {
        cell.tmHeight = kFixedsysHeight;
        cell.tmAveCharWidth = kFixedsysWidth;
    }
    for (const wchar_t* face : kReplacementFaces) {
        HFONT replacement = CreateReplacement(face, cell);
        if (replacement == nullptr) continue;
        if (DrawsCzechWith(screen.Get(), replacement)) {
            ::DeleteObject(fixedsys);
            Keep(replacement, true, screen.Get());
            return 1;
        }
        ::DeleteObject(replacement);
    }
    // Nothing better exists: Fixedsys draws what it can.
    Keep(fixedsys, false, screen.Get());
    return 1;
}
