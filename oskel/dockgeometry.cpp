#include "dockgeometry.h"

namespace oskel {

DockRect CentredDragRect(int x, int y, int width, int height) {
    DockRect drag;
    drag.left = x - width / 2 < 0 ? 0 : x - width / 2;
    drag.top = y - height / 2 < 0 ? 0 : y - height / 2;
    drag.right = drag.left + width;
    drag.bottom = drag.top + height;
    return drag;
}

int DockDropSide(const DockRect& drag, const DockRect& window, const DockRect& client,
                 unsigned allowedSides, bool controlHeld) {
    if (controlHeld) return kDockFloat;
    const bool inside = drag.left >= window.left && drag.right <= window.right &&
                        drag.top >= window.top && drag.bottom <= window.bottom;
    if (!inside) return kDockFloat;
    const DockRect c{client.left + 2, client.top + 2, client.right - 2, client.bottom - 2};
    int side = kDockFloat;
    // Later tests win: right over left over top over bottom.
    if (drag.bottom > c.bottom && (allowedSides & kDockBottom)) side = kDockBottom;
    if (drag.top < c.top && (allowedSides & kDockTop)) side = kDockTop;
    if (drag.left < c.left && (allowedSides & kDockLeft)) side = kDockLeft;
    if (drag.right > c.right && (allowedSides & kDockRight)) side = kDockRight;
    return side;
}

DockRect DockedShape(int side, const DockRect& c, int size) {
    switch (side) {
    case kDockLeft: return {c.left, c.top, c.left + size, c.bottom};
    case kDockRight: return {c.right - size, c.top, c.right, c.bottom};
    case kDockTop: return {c.left, c.top, c.right, c.top + size};
    case kDockBottom: return {c.left, c.bottom - size, c.right, c.bottom};
    default: return c;
    }
}

} // namespace oskel
