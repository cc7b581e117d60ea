#include "czechfont.h"
#include "screendc_win32.h"

#include <cwchar>

namespace {

// Every letter with a diacritic that Czech uses, both cases.
const wchar_t kCzechLetters[] = L"áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ";

// Proportional TrueType faces tried in turn when the East-European variant of a font
// still lacks the letters.
const wchar_t* const kReplacementFaces[] = {L"Microsoft Sans Serif", L"Tahoma", L"Arial"};

bool Draws(HFONT font) {
    return CMyCzechFont::FontDrawsCzech(font) != 0;
}

// Whether the font mapper gave the face asked for, not another one for want of it.
bool IsFace(HFONT font, const wchar_t* face) {
    CMyScreenDC screen;
    if (screen.Get() == nullptr) return false;
    HGDIOBJ old = ::SelectObject(screen.Get(), font);
    if (old == nullptr) return false;
    wchar_t used[LF_FACESIZE] = {};
    ::GetTextFaceW(screen.Get(), LF_FACESIZE, used);
    ::SelectObject(screen.Get(), old);
    return ::lstrcmpiW(used, face) == 0;
}

// The font for description when it draws the letters (and, when asked, is the face named);
// null otherwise.
HFONT CreateIfCzech(const LOGFONTW& description, bool realFace) {
    HFONT font = ::CreateFontIndirectW(&description);
    if (font == nullptr) return nullptr;
    if (Draws(font) && (!realFace || IsFace(font, description.lfFaceName))) return font;
    ::DeleteObject(font);
    return nullptr;
}

// A stand-in the mapper picks (a Linux desktop's sans face) tends to be wider than the
// faces named, so every real face is tried before any stand-in.
HFONT CreateCzechLike(LOGFONTW description, bool realFace) {
    description.lfCharSet = EASTEUROPE_CHARSET;
    if (HFONT font = CreateIfCzech(description, realFace)) return font;
    // Same height, so dialog units and item places still fit the text.
    description.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    description.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    for (const wchar_t* face : kReplacementFaces) {
        std::wcsncpy(description.lfFaceName, face, LF_FACESIZE - 1);
        description.lfFaceName[LF_FACESIZE - 1] = 0;
        if (HFONT font = CreateIfCzech(description, realFace)) return font;
    }
    return nullptr;
}

HFONT CreateCzechLike(const LOGFONTW& description) {
    HFONT font = CreateCzechLike(description, true);
    return font != nullptr ? font : CreateCzechLike(description, false);
}

bool Describe(HGDIOBJ font, LOGFONTW* description) {
    return font != nullptr && ::GetObjectW(font, sizeof *description, description) != 0;
}

bool SameDescription(const LOGFONTW& a, const LOGFONTW& b) {
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfWeight == b.lfWeight &&
           a.lfItalic == b.lfItalic && a.lfUnderline == b.lfUnderline &&
           a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           ::lstrcmpiW(a.lfFaceName, b.lfFaceName) == 0;
}

} // namespace

CMyCzechFont::CMyCzechFont(int height, const char* face, int weight, int italic, int underline,
                           int strikeOut)
    : CMyResidentFont(height, face, weight, italic, underline, strikeOut), m_hasModel(0),
      m_model() {}

CMyCzechFont::~CMyCzechFont() = default;

int CMyCzechFont::CreateResidentObject() {
    if (m_hasModel) {
        HFONT font = CreateCzechLike(m_model);
        if (font == nullptr) return 0;
        DeleteObject();
        m_handle = font;
        return 1;
    }
    if (CMyResidentFont::CreateResidentObject() == 0) return 0;
    LOGFONTW description;
    if (FontDrawsCzech(m_handle) || !Describe(m_handle, &description)) return 1;
    if (HFONT font = CreateCzechLike(description)) {
        DeleteObject();
        m_handle = font;
    }
    return 1;
}

void* CMyCzechFont::ReplacementFor(void* model) {
    LOGFONTW description;
    if (model == nullptr || FontDrawsCzech(model) || !Describe(model, &description)) return nullptr;
    if (GetReferenceCount() > 0)
        return m_hasModel && SameDescription(description, m_model) ? m_handle : nullptr;
    m_model = description;
    m_hasModel = 1;
    // Held for the rest of the process: every dialog of this description shares it.
    if (AddReference() == 0) {
        m_hasModel = 0;
        return nullptr;
    }
    return m_handle;
}

int CMyCzechFont::DrawsCzech(void* dc) {
    if (dc == nullptr) return 0;
    const int count = static_cast<int>(std::wcslen(kCzechLetters));
    WORD glyphs[64];
    if (::GetGlyphIndicesW(static_cast<HDC>(dc), kCzechLetters, count, glyphs,
                           GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
        return 0;
    for (int i = 0; i < count; ++i)
        if (glyphs[i] == 0xFFFF) return 0;
    return 1;
}

int CMyCzechFont::FontDrawsCzech(void* font) {
    CMyScreenDC screen;
    if (font == nullptr || screen.Get() == nullptr) return 0;
    HGDIOBJ old = ::SelectObject(screen.Get(), static_cast<HGDIOBJ>(font));
    if (old == nullptr) return 0;
    const int draws = DrawsCzech(screen.Get());
    ::SelectObject(screen.Get(), old);
    return draws;
}
