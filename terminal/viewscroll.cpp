#include "viewscroll.h"

#include <algorithm>
#include <cstdlib>

int NextScrollPosition(int code, int position, int thumb, int step, int rangeEnd) {
    switch (code) {
    case kScrollLineUp: return std::max(position - step, 0);
    case kScrollLineDown: return std::min(position + step, rangeEnd);
    case kScrollPageUp: return std::max(position - kViewPageStep, 0);
    case kScrollPageDown: return std::min(position + kViewPageStep, rangeEnd);
    case kScrollThumbPosition:
    case kScrollThumbTrack: return std::clamp(thumb, 0, rangeEnd);
    default: return position;
    }
}

int FollowCursorPosition(int position, int row, int clientHeight, int lineHeight) {
    const int whole = lineHeight > 0 ? clientHeight / lineHeight : 0;
    // A window too low for two whole lines (a minimised one) still shows the cursor row
    // first rather than above it.
    const int above = std::max(whole - 1, 1);
    if (position <= row && row < position + above) return position;
    return std::clamp(row - (above - 1), 0, kViewLines);
}

void WheelScroll(int delta, int* code, int* step) {
    *code = delta > 0 ? kScrollLineUp : kScrollLineDown;
    *step = std::abs(delta / kViewWheelNotch) * kViewWheelLines;
}

int LinesToDraw(int firstLine, int clientHeight, int lineHeight) {
    if (lineHeight <= 0) return 0;
    return std::max(std::min(clientHeight / lineHeight + 1, kViewLines - firstLine), 0);
}
