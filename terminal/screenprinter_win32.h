// Prints the terminal's lines on the printer the user picks in the print dialog.
#pragma once

#include "gdiobject.h"
#include "stdbuffer.h"

#include <windows.h>

#include <commdlg.h>

// The font the screen is printed in: Fixedsys of height 26, shared like every resident font.
// Asked for with the East-European character set and a fixed pitch, so that a printer
// without Fixedsys gets a monospaced face that has the Czech letters.
class CPrintFont : public CMyResidentFont {
public:
    CPrintFont();
    int CreateResidentObject() override;
};

class CScreenPrinter {
public:
    enum Result : int {
        kPrinted = 1,
        kCancelled = 0,
        kDialogFailed = -1,
        kPrintFailed = -2,
    };

    // font: the shared fixed-pitch font the lines are printed in; referenced while printing.
    CScreenPrinter(HWND owner, CStdBuffer& buffer, CMyResidentFont& font);
    virtual ~CScreenPrinter() = default;
    CScreenPrinter(const CScreenPrinter&) = delete;
    CScreenPrinter& operator=(const CScreenPrinter&) = delete;

    int Print();
    // The print dialog's extended error code of the last Print (0 when it was cancelled).
    unsigned long GetDialogError() const { return m_dialogError; }
    // Pages sent to the printer by the last Print.
    int GetPagesPrinted() const { return m_pagesPrinted; }

protected:
    // The platform's print dialog on the prepared record.
    virtual BOOL RunPrintDialog(PRINTDLGW& record);

private:
    int PrintDocument(HDC dc);
    bool PrintPage(HDC dc, int page, int lineHeight, const struct PrintLayout& layout);
    void PrintLine(HDC dc, int row, RECT& line, int lineHeight);
    void Tell(const char* text);

    HWND m_owner;
    CStdBuffer& m_buffer;
    CMyResidentFont& m_font;
    unsigned long m_dialogError = 0;
    int m_pagesPrinted = 0;
};
