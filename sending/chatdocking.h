// Where the floating chat frame docks: onto the main window's bottom edge.
#pragma once

struct DockRect {
    long left;
    long top;
    long right;
    long bottom;
};

// The frame's top lies above the client area's bottom edge and its bottom below it, and the
// two overlap horizontally.
inline bool FrameOverBottomEdge(const DockRect& client, const DockRect& frame) {
    return frame.top < client.bottom && frame.bottom > client.bottom && frame.left < client.right &&
           frame.right > client.left;
}
