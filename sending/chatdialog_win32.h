// Chat mode: a sending line under the terminal. The user types a message, chooses CR, LF,
// escape sequences or hexadecimal writing and sends it; every sent message is kept in a history
// that lives in chat.ini between runs. The line docks under the terminal or floats in a frame.
#pragma once

#include "chathistory.h"
#include "dialog.h"
#include "dockdialog_win32.h"
#include "escape.h"
#include "hexeditfilter_win32.h"
#include "sendingdata.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Main-window commands the chat line uses; the main window hands them in.
struct ChatCommandIds {
    unsigned chatMode = 0;  // switches chat mode off: the dialog's close
    unsigned frameMove = 0; // the floating frame is moving (notification 1: the move has ended)
    std::vector<unsigned> forwarded; // their keys and menu work while the line has the focus
};

class CChatDialog : public CMyDialog {
public:
    explicit CChatDialog(void* parent = nullptr);

    void SetData(ISendingData* data) { m_data = data; }
    // The main window: parent while docked, owner of the floating frame, and the receiver of
    // the forwarded commands and of the request to show the cursor after a send.
    void SetMainWindow(HWND main);
    void SetCommands(const ChatCommandIds& ids);
    void SetHelp(std::function<void(HWND)> help) { m_help = std::move(help); }

    bool IsDocked() const { return m_docked; }
    // Height the main window gives the docked line: its client height; 0 when floating or shut.
    int GetDockedHeight() const;
    // Empties the list of sent messages (chat.ini is the caller's).
    void ClearHistory();
    const CChatHistory& GetHistory() const { return m_history; }
    HWND GetFrameWindow() const { return m_frame.GetSafeHandle(); }

    // Docking feedback for a move of the floating frame: the height of the dashed frame the view
    // should show, 0 for none. A drag that ends over the main window's bottom edge docks.
    int TrackFrameMove(bool ended);
    // Switches between docked and floating.
    void ToggleDocking();

    LRESULT OnClose() override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDestroy() override;
    LRESULT OnHelp(HELPINFO* help) override;
    LRESULT OnMouseMove(WPARAM keys, int x, int y) override;
    LRESULT OnInitDialog() override;
    LRESULT OnLButtonDblClk(WPARAM keys, int x, int y) override;
    LRESULT OnSize(WPARAM type, unsigned short width, unsigned short height) override;

private:
    static constexpr int32_t kNoPosition = INT32_MIN;

    struct ItemPlace {
        unsigned id;
        RECT rect; // as created
    };

    void SetTexts();
    void NoteLayout();
    void CreateFrame();
    void RestorePosition();
    void NotePosition();
    void Float();
    void Dock();
    void FillList();
    bool Forward(WPARAM wParam, LPARAM lParam);
    void OnTextNotification(WORD code);
    void OnSelectionChanged();
    void OnHexClicked();
    void Send();
    void SendTyped();
    void SendHex();
    unsigned LineEndFlags();
    void AfterSend(const std::string& text, unsigned flags);
    void ShowCursorRow();
    void MarkBadSequence(uint32_t range);
    void Tell(const char* text, unsigned type);
    bool Checked(unsigned id) { return IsDlgButtonChecked(id) == BST_CHECKED; }
    void Check(unsigned id, bool on) { CheckDlgButton(id, on ? BST_CHECKED : BST_UNCHECKED); }
    HWND Field();
    std::string FieldText();
    void SetFieldText(const char* text);

    ISendingData* m_data = nullptr;
    int32_t m_lastX = kNoPosition;
    int32_t m_lastY = kNoPosition;
    CEscape m_encoder;
    bool m_docked = true;
    CDockDialog m_frame;
    RECT m_clientRect = {0, 0, 0, 0};
    std::vector<ItemPlace> m_layout;
    CChatHistory m_history;
    bool m_listOpen = false;
    CHexEditFilter m_filter;
    HWND m_main = nullptr;
    ChatCommandIds m_commands;
    std::function<void(HWND)> m_help;
};
