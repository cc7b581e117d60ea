// A shared font that draws every Czech letter whatever the system's code page. Texts are
// cp1250 shown through the wide calls, but a font asked for with the default character set
// resolves to the system's own code page: on a Western system "MS Sans Serif" becomes a
// bitmap font without "ř", "ů" or "ě".
#pragma once

#include "gdiobject.h"

#include <windows.h>

class OSKEL_API CMyCzechFont : public CMyResidentFont {
public:
    CMyCzechFont(int height, const char* face, int weight, int italic, int underline,
                 int strikeOut);
    ~CMyCzechFont() override;

    // The font the parameters ask for when it draws the letters; otherwise the same font
    // with the East-European character set, or else a proportional TrueType face of the
    // same height. Nothing better found: the font as asked for.
    int CreateResidentObject() override;

    // The font to give a window instead of model: null when model draws the letters or no
    // replacement does. The first call that needs one makes it from model's description and
    // holds it until the library unloads; later calls get it for a model of the same
    // description and null for any other.
    void* ReplacementFor(void* model);

    // 1 when the font selected into dc has a glyph for every Czech letter.
    static int DrawsCzech(void* dc);
    // The same for a font, measured on the screen.
    static int FontDrawsCzech(void* font);

private:
    int m_hasModel;
    LOGFONTW m_model;
};
