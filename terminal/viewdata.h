// What the terminal view reads from the application's data: the screen buffer and whether
// the view follows the cursor.
#pragma once

#include "stdbuffer.h"

class ITerminalViewData {
public:
    virtual ~ITerminalViewData() = default;
    virtual CStdBuffer& GetBuffer() = 0;
    virtual int GetAutoScroll() const = 0;
};
