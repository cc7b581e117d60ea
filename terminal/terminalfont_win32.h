// The terminal's one shared font: Fixedsys asked for with the East-European character set,
// so that "ř", "ů" and "ě" have glyphs; where the system's Fixedsys lacks them, a monospaced
// TrueType font of the same cell size takes its place.
#pragma once

#include "gdiobject.h"

#include <windows.h>

class CTerminalFont : public CMyResidentFont {
public:
    CTerminalFont();
    ~CTerminalFont() override;

    int CreateResidentObject() override;

    // True when the font in use is the TrueType replacement.
    bool IsReplacement() const { return m_replacement; }
    // The face of the font in use, as the platform names it; empty before the first use.
    const wchar_t* GetFaceInUse() const { return m_faceInUse; }

    // The process's terminal font (the view and the command-line help draw with it).
    static CTerminalFont& Shared();

    // Whether the font selected into dc draws every Czech letter and has one cell width.
    static bool DrawsCzech(HDC dc);

private:
    HFONT CreateFixedsys(BYTE charset) const;
    HFONT CreateReplacement(const wchar_t* face, const TEXTMETRICW& cell) const;
    void Keep(HFONT font, bool replacement, HDC dc);

    bool m_replacement = false;
    wchar_t m_faceInUse[LF_FACESIZE] = {};
};
