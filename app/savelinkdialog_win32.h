// The current shortcut: a save dialog with the shortcut's options below it, and the command
// that composes the shortcut from the connection and the loaded file.
#pragma once

#include "filedialog.h"
#include "shortcut.h"

class CTarlinData;

class CSaveLinkDialog : public CMyFileDialog {
public:
    explicit CSaveLinkDialog(void* owner = nullptr);

    // What the options may use: boxes that cannot apply are disabled.
    void SetState(bool connected, bool fileLoaded);
    void SetOwner(HWND owner);
    // Kept while the program runs; read back from the boxes when a name is confirmed.
    unsigned GetOptions() const { return m_options; }
    CIconChoice& GetIconChoice() { return m_icon; }

private:
    static UINT_PTR CALLBACK Hook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void ShowOptions(HWND window);
    void OnOptionCommand(HWND window, unsigned id);
    void ReadOptions(HWND window);

    unsigned m_options = kShortcutDefaultOptions;
    bool m_connected = false;
    bool m_fileLoaded = false;
    CIconChoice m_icon;
};

// Command "Vytvoření aktuálního zástupce...". Returns the shortcut result of the last attempt,
// 0 when the user cancelled.
int CreateCurrentShortcut(HWND owner, CTarlinData& data, CSaveLinkDialog& dialog);
// After a module file that could not be opened was replaced by another: offers a shortcut for it.
int OfferShortcutForNewFile(HWND owner, CTarlinData& data, CSaveLinkDialog& dialog);
