// Where a dragged chat frame docks.
#include "chatdocking.h"

#include <gtest/gtest.h>

namespace {

const DockRect kClient = {100, 100, 900, 700};

TEST(ChatDocking, OnlyAFrameAcrossTheBottomEdgeDocks) {
    EXPECT_TRUE(FrameOverBottomEdge(kClient, {200, 650, 600, 750}));
    EXPECT_TRUE(FrameOverBottomEdge(kClient, {850, 690, 1200, 710})) << "overlapping at the right";
    EXPECT_FALSE(FrameOverBottomEdge(kClient, {200, 500, 600, 690})) << "inside";
    EXPECT_FALSE(FrameOverBottomEdge(kClient, {200, 700, 600, 800})) << "touching from below";
    EXPECT_FALSE(FrameOverBottomEdge(kClient, {200, 600, 600, 700})) << "touching from above";
    EXPECT_FALSE(FrameOverBottomEdge(kClient, {900, 650, 1200, 750})) << "beside the window";
    EXPECT_FALSE(FrameOverBottomEdge(kClient, {0, 650, 100, 750})) << "beside on the left";
    EXPECT_FALSE(FrameOverBottomEdge(kClient, {200, 50, 600, 150})) << "across the top edge";
}

} // namespace
