// What a coloured text asks its parent at every repaint: the message and the record the
// parent fills. Controls and dialogs dispatch the message; the coloured text sends it.
#pragma once

#include <windows.h>

// wParam the control's id, lParam the address of a zeroed MY_COLORED_TEXT_STRUCT to fill.
// Its value is also DM_SETDEFID, which a dialog must not let the dialog manager see.
const UINT MY_COLORED_TEXT_GETTEXTPARAM = WM_USER + 1;

#pragma pack(push, 1)
struct MY_COLORED_TEXT_STRUCT {
    unsigned char red;
    unsigned char green;
    unsigned char blue;
    int bold;
};
#pragma pack(pop)
