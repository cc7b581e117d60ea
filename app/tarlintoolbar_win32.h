// The tool bar: a rebar with two bands, the command buttons and the port's line settings
// (baud rate, data bits, parity) as drop-down lists.
#pragma once

#include "gdiobject.h"
#include "mybar_win32.h"

#include <commctrl.h>

class CTarlinToolbar : public CMyBar {
public:
    static constexpr int kButtons = 17;
    // Control ids: the rebar, both button bars, and the three lists.
    struct Ids {
        unsigned int rebar;
        unsigned int buttonBar;
        unsigned int baudList;
        unsigned int dataBitsList;
        unsigned int parityList;
        unsigned int bitmap;
    };

    // commands: the command of each button position, 0 for a separator.
    CTarlinToolbar(const Ids& ids, const unsigned int (&commands)[kButtons]);
    ~CTarlinToolbar() override;

    bool Create() override;
    int Layout() override;

    void EnableButton(unsigned int command, bool enable);
    void PressButton(unsigned int command, bool pressed);
    // Selects the matching entries; a value that no entry shows leaves that list as it was.
    void SelectPortSetting(int baudRate, int byteSize, int parity);
    void EnableLists(bool enable);

    HWND GetRebar() const { return m_rebar; }
    HWND GetList(unsigned int id) const;

protected:
    HWND GetOuterWindow() const override { return m_rebar; }

private:
    bool CreateRebar();
    bool CreateButtonBar();
    bool CreateListBar();
    HWND CreateList(int x, int width, unsigned int id);
    void InsertBand(HWND child, const wchar_t* text, int minWidth, int width);
    static void SelectText(HWND list, const char* text);

    Ids m_ids;
    TBBUTTON m_buttons[kButtons];
    HWND m_rebar = nullptr;
    HWND m_listBar = nullptr;
    HWND m_parityList = nullptr;
    HWND m_baudList = nullptr;
    HWND m_dataBitsList = nullptr;
    CMyFont m_listFont;
};
