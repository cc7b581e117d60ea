// The main window's side of the read thread: the disconnect command and the cursor row,
// posted so that the read thread never waits for the window, which may itself be waiting
// for the read thread to park.
#pragma once

#include <cstdint>

#include "readthread.h"

class CReadNotifyWindow : public IReadNotify {
public:
    static constexpr unsigned kDisconnectCommand = 1507;
    static constexpr unsigned kFollowCursorCode = 0xFFFF;
    // The same cursor row is posted again at most this often: a full-speed stream keeps the
    // cursor on the last row and would flood the window's queue.
    static constexpr uint32_t kRepeatRowMs = 20;

    explicit CReadNotifyWindow(void* window) : m_window(window) {}
    // WM_COMMAND 1507, lParam 0.
    void PortGone() override;
    // WM_VSCROLL with the row in the high word and 0xFFFF in the low word.
    void FollowCursor(int row) override;

private:
    void* m_window;
    int m_lastRow = -1;
    uint32_t m_lastPostMs = 0;
};
