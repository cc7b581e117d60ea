// A window in the main window's place for the sending GUI tests.
#pragma once

#include "chatdialog_win32.h"

#include <string>
#include <vector>

namespace sendingtest {

const unsigned kChatModeCommand = 1509;
const unsigned kFrameMoveCommand = 1020;
const unsigned kClearScreenCommand = 1517;

// Stands in for the main window: lays the docked chat line out below its client area, closes
// the line on the chat-mode command and records the docking feedback, the forwarded commands
// and the requests to show the cursor row.
class CHostWindow : public CMyWindow {
public:
    explicit CHostWindow(CChatDialog* chat = nullptr);
    ~CHostWindow() override;

    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnSize(WPARAM type, unsigned short width, unsigned short height) override;
    LRESULT OnVScroll(unsigned short code, unsigned short pos, void* control) override;

    std::vector<int> dockFrames; // heights of the dashed frame, one per reported move
    std::vector<unsigned> forwarded;
    int cursorRequests = 0;
    int lastCursorRow = -1;
    int chatClosed = 0;

private:
    CChatDialog* m_chat;
};

} // namespace sendingtest
