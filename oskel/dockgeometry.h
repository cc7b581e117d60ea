// Where a dragged dock window lands: the drop-zone rules, apart from any window system.
#pragma once

#include "oskel_api.h"

namespace oskel {

struct DockRect {
    int left, top, right, bottom;
};

// Sides and flags of a dock window.
enum : unsigned {
    kDockLeft = 0x01,
    kDockRight = 0x02,
    kDockTop = 0x04,
    kDockBottom = 0x08,
    kDockFloat = 0x80,
};

// The drag frame: a window of the given size centred on the cursor, kept on screen.
OSKEL_API DockRect CentredDragRect(int x, int y, int width, int height);
// The side a drop would dock at, or kDockFloat. window is the container's outer
// rectangle, client its client rectangle in screen coordinates (not yet shrunk).
OSKEL_API int DockDropSide(const DockRect& drag, const DockRect& window, const DockRect& client,
                           unsigned allowedSides, bool controlHeld);
// The docked shape along a side of the container's client rectangle.
OSKEL_API DockRect DockedShape(int side, const DockRect& client, int size);

} // namespace oskel
