// Where the terminal view stands over the screen buffer: the scroll steps of both bars, the
// automatic scrolling that follows the cursor, and how many lines a paint draws.
#pragma once

// The scroll-bar codes, the platform's values, and the request that follows the cursor.
enum ViewScrollCode {
    kScrollLineUp = 0,
    kScrollLineDown = 1,
    kScrollPageUp = 2,
    kScrollPageDown = 3,
    kScrollThumbPosition = 4,
    kScrollThumbTrack = 5,
    kScrollTop = 6,
    kScrollBottom = 7,
    kScrollEnd = 8,
    kScrollFollowCursor = 0xFFFF,
};

const int kViewLines = 5000;      // vertical range end
const int kViewColumns = 80;      // horizontal range end
const int kViewPageStep = 10;     // lines or columns of a page step
const int kViewColumnPixels = 20; // one horizontal unit
const int kViewWheelNotch = 120;  // wheel delta of one notch
const int kViewWheelLines = 2;    // lines per notch

// The position after a scroll-bar code (line, page, thumb); codes that do not move keep it.
// step: lines of a line step; rangeEnd: kViewLines or kViewColumns.
int NextScrollPosition(int code, int position, int thumb, int step, int rangeEnd);

// The position that brings the cursor row into view: unchanged while the row stands within
// the whole lines shown above the last one, else the row becomes the second-last whole line.
int FollowCursorPosition(int position, int row, int clientHeight, int lineHeight);

// A wheel message as a scroll: the code (line up or down) and the step in lines; step 0
// when the delta is less than one notch.
void WheelScroll(int delta, int* code, int* step);

// Lines a paint draws from the first shown line: one more than fit whole, none past the end.
int LinesToDraw(int firstLine, int clientHeight, int lineHeight);
