// What the sending GUI tests share: a window in the main window's place, a data object on one
// end of a fresh null-modem pair, and a peer on the other end that collects what arrives.
#pragma once

#include "chatdialog_win32.h"
#include "comm.h"
#include "nullmodem.h"
#include "tarlinsendingdata.h"

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

// Bytes arriving at a port within ms milliseconds, up to want of them.
std::string Collect(CComm& port, size_t want, int ms);

// A fresh settings folder, a data object on end a and a peer port on end b.
class CLine {
public:
    CLine();
    ~CLine();
    bool Ready() const { return m_ready; }
    // A data object as at the next start of the program, on the same folder and port.
    void Restart();

    testing_support::NullModem modem;
    std::string folder;
    std::unique_ptr<CTarlinData> data;
    CTarlinSendingData store;
    CComm peer;

private:
    bool m_ready = false;
};

} // namespace sendingtest
