// Where a dragged dock window lands.
#include "dockgeometry.h"

#include <gtest/gtest.h>

namespace {

using oskel::DockRect;

const DockRect kWindow{100, 100, 900, 700};
const DockRect kClient{108, 130, 892, 692};
const unsigned kAll = 0x0F;

TEST(DockGeometry, DragFrameCentredOnTheCursorAndKeptOnScreen) {
    const DockRect r = oskel::CentredDragRect(500, 400, 200, 100);
    EXPECT_EQ(r.left, 400);
    EXPECT_EQ(r.top, 350);
    EXPECT_EQ(r.right, 600);
    EXPECT_EQ(r.bottom, 450);
    const DockRect corner = oskel::CentredDragRect(10, 20, 200, 100);
    EXPECT_EQ(corner.left, 0);
    EXPECT_EQ(corner.top, 0);
    EXPECT_EQ(corner.right, 200);
    EXPECT_EQ(corner.bottom, 100);
}

TEST(DockGeometry, DropSides) {
    EXPECT_EQ(oskel::DockDropSide({400, 300, 600, 400}, kWindow, kClient, kAll, false), 0x80);
    EXPECT_EQ(oskel::DockDropSide({105, 300, 300, 400}, kWindow, kClient, kAll, false), 0x01);
    EXPECT_EQ(oskel::DockDropSide({700, 300, 895, 400}, kWindow, kClient, kAll, false), 0x02);
    EXPECT_EQ(oskel::DockDropSide({400, 120, 600, 200}, kWindow, kClient, kAll, false), 0x04);
    EXPECT_EQ(oskel::DockDropSide({400, 600, 600, 695}, kWindow, kClient, kAll, false), 0x08);
    // The edge strip is two pixels inside the client area.
    EXPECT_EQ(oskel::DockDropSide({109, 300, 300, 400}, kWindow, kClient, kAll, false), 0x01);
    EXPECT_EQ(oskel::DockDropSide({110, 300, 300, 400}, kWindow, kClient, kAll, false), 0x80);
}

TEST(DockGeometry, LaterTestsWinAndForbiddenSidesFloat) {
    const DockRect leftAndBottom{105, 600, 300, 695};
    EXPECT_EQ(oskel::DockDropSide(leftAndBottom, kWindow, kClient, kAll, false), 0x01);
    EXPECT_EQ(oskel::DockDropSide(leftAndBottom, kWindow, kClient, 0x08, false), 0x08);
    EXPECT_EQ(oskel::DockDropSide(leftAndBottom, kWindow, kClient, 0x02, false), 0x80);
}

TEST(DockGeometry, OutsideTheContainerOrWithCtrlFloats) {
    EXPECT_EQ(oskel::DockDropSide({95, 300, 300, 400}, kWindow, kClient, kAll, false), 0x80);
    EXPECT_EQ(oskel::DockDropSide({105, 300, 300, 400}, kWindow, kClient, kAll, true), 0x80);
}

TEST(DockGeometry, DockedShapes) {
    const DockRect left = oskel::DockedShape(0x01, kClient, 200);
    EXPECT_EQ(left.right, kClient.left + 200);
    EXPECT_EQ(left.bottom, kClient.bottom);
    const DockRect bottom = oskel::DockedShape(0x08, kClient, 100);
    EXPECT_EQ(bottom.top, kClient.bottom - 100);
    EXPECT_EQ(bottom.right, kClient.right);
    const DockRect right = oskel::DockedShape(0x02, kClient, 50);
    EXPECT_EQ(right.left, kClient.right - 50);
}

} // namespace
