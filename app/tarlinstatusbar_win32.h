// The status bar: four fields with the sent and received counts, the connection and its
// setting, and the recognised module; tool tips and an icon per field.
#pragma once

#include "dynstring.h"
#include "mybar_win32.h"

class CTarlinStatusbar : public CMyBar {
public:
    static constexpr int kFields = 4;

    explicit CTarlinStatusbar(unsigned int controlId);
    ~CTarlinStatusbar() override;

    bool Create() override;
    int Layout() override;

    bool SetText(int field, const char* text);
    bool AppendText(int field, const char* text, bool withBlank);
    bool SetTipText(int field, const char* text);
    bool SetIcon(int field, HINSTANCE instance, unsigned int iconId);

    // The field's text as last set; empty for a field out of range.
    const char* GetText(int field) const;
    // The icon resource last set in the field; 0 for none.
    unsigned int GetIconId(int field) const;

private:
    bool ShowText(int field);
    void DestroyIcons();

    unsigned int m_controlId;
    CDynString m_texts[kFields];
    HICON m_icons[kFields] = {};
    unsigned int m_iconIds[kFields] = {};
};
