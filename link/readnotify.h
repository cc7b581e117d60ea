// The main window's side of the read thread on Win32: the messages the window handles.
#pragma once

#include "readthread.h"

#if defined(_WIN32)

class CReadNotifyWindow : public IReadNotify {
public:
    static constexpr unsigned kDisconnectCommand = 1507;
    static constexpr unsigned kFollowCursorCode = 0xFFFF;

    explicit CReadNotifyWindow(void* window) : m_window(window) {}
    void PortGone() override;
    void FollowCursor(int row) override;

private:
    void* m_window;
};

#endif
