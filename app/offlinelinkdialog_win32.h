// The shortcut builder: a shortcut with a port setting, a module file and terminal options
// chosen without being connected. It stays open for further shortcuts until "Konec".
#pragma once

#include "dialog.h"
#include "shortcut.h"

#include <string>

class CTarlinData;

class COfflineLinkDialog : public CMyDialog {
public:
    // icon: the icon choice kept for the whole run (shared with the current shortcut).
    COfflineLinkDialog(void* parent, CTarlinData* data, CIconChoice& icon);

    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnInitDialog() override;

    // What the dialog's items say now.
    BuiltShortcut ReadChoices();

private:
    void FillLists();
    void UpdateFileItems();
    void ChooseFile();
    void Save();
    std::string ItemText(unsigned id);
    std::string ListText(unsigned id);
    int ListIndex(unsigned id);
    bool Checked(unsigned id) { return IsDlgButtonChecked(id) == BST_CHECKED; }

    CTarlinData* m_data;
    CIconChoice& m_icon;
};

// Command "Tvorba zástupců...": the builder as a modal dialog.
INT_PTR RunShortcutBuilder(HWND owner, CTarlinData& data, CIconChoice& icon);
