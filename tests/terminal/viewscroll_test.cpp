#include "viewscroll.h"

#include <gtest/gtest.h>

namespace {

TEST(ViewScroll, LineAndPageStepsStopAtTheEnds) {
    EXPECT_EQ(NextScrollPosition(kScrollLineUp, 0, 0, 1, kViewLines), 0);
    EXPECT_EQ(NextScrollPosition(kScrollLineUp, 7, 0, 1, kViewLines), 6);
    EXPECT_EQ(NextScrollPosition(kScrollLineDown, 5000, 0, 1, kViewLines), 5000);
    EXPECT_EQ(NextScrollPosition(kScrollLineDown, 79, 0, 1, kViewColumns), 80);
    EXPECT_EQ(NextScrollPosition(kScrollPageUp, 4, 0, 1, kViewLines), 0);
    EXPECT_EQ(NextScrollPosition(kScrollPageUp, 40, 0, 1, kViewLines), 30);
    // Page down at 4995 ends at the range's end; the paint shows 4999 at most.
    EXPECT_EQ(NextScrollPosition(kScrollPageDown, 4995, 0, 1, kViewLines), 5000);
    EXPECT_EQ(NextScrollPosition(kScrollPageDown, 75, 0, 1, kViewColumns), 80);
}

TEST(ViewScroll, ThumbGoesWhereItIsAndOtherCodesStay) {
    EXPECT_EQ(NextScrollPosition(kScrollThumbTrack, 10, 1234, 1, kViewLines), 1234);
    EXPECT_EQ(NextScrollPosition(kScrollThumbPosition, 10, 42, 1, kViewColumns), 42);
    EXPECT_EQ(NextScrollPosition(kScrollThumbPosition, 10, 9000, 1, kViewLines), 5000);
    for (int code : {kScrollTop, kScrollBottom, kScrollEnd})
        EXPECT_EQ(NextScrollPosition(code, 321, 7, 1, kViewLines), 321) << code;
}

TEST(ViewScroll, WheelMovesTwoLinesPerNotch) {
    int code = -1, step = -1;
    WheelScroll(-120, &code, &step);
    EXPECT_EQ(code, kScrollLineDown);
    EXPECT_EQ(step, 2);
    WheelScroll(360, &code, &step);
    EXPECT_EQ(code, kScrollLineUp);
    EXPECT_EQ(step, 6);
    WheelScroll(-60, &code, &step);
    EXPECT_EQ(step, 0);
    EXPECT_EQ(NextScrollPosition(kScrollLineDown, 100, 0, 6, kViewLines), 106);
}

// 20 whole lines of 15 pixels: rows up to position + 18 are visible (the last whole line
// is kept free), the next one scrolls so that it stands second-last.
TEST(ViewScroll, FollowingTheCursorKeepsItOnTheSecondLastWholeLine) {
    const int height = 20 * 15 + 7;
    EXPECT_EQ(FollowCursorPosition(100, 100, height, 15), 100);
    EXPECT_EQ(FollowCursorPosition(100, 118, height, 15), 100);
    EXPECT_EQ(FollowCursorPosition(100, 119, height, 15), 101);
    EXPECT_EQ(FollowCursorPosition(100, 99, height, 15), 81);
    EXPECT_EQ(FollowCursorPosition(100, 3, height, 15), 0);
    EXPECT_EQ(FollowCursorPosition(0, 4999, height, 15), 4981);
}

TEST(ViewScroll, AWindowWithoutRoomShowsTheCursorRowFirst) {
    EXPECT_EQ(FollowCursorPosition(0, 50, 0, 15), 50);
    EXPECT_EQ(FollowCursorPosition(50, 50, 0, 15), 50);
    EXPECT_EQ(FollowCursorPosition(10, 50, 20, 15), 50);
}

TEST(ViewScroll, LinesToDrawStopAtTheBufferEnd) {
    EXPECT_EQ(LinesToDraw(0, 300, 15), 21);
    EXPECT_EQ(LinesToDraw(4990, 300, 15), 10);
    EXPECT_EQ(LinesToDraw(4999, 300, 15), 1);
    EXPECT_EQ(LinesToDraw(0, 300, 0), 0);
}

} // namespace
