// The manual-signal dialog's record of the lines and its green fade.
#include "signalstate.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(SignalState, ChangesAreMarkedAndFadeInElevenSteps) {
    CSignalState state;
    EXPECT_FALSE(state.Refresh({0, 0, 0, 0, 0, 0})) << "nothing differs from the start";
    EXPECT_TRUE(state.Refresh({0, 0, 1, 0, 1, 1}));
    EXPECT_EQ(state.GetChanged(),
              static_cast<unsigned>(CSignalState::kDtr | CSignalState::kDsr | CSignalState::kDcd));
    EXPECT_EQ(state.GetHighlight(), 255);
    EXPECT_TRUE(state.IsHighlighted(CSignalState::kDtr));
    EXPECT_FALSE(state.IsHighlighted(CSignalState::kRts));

    std::vector<int> periods;
    for (int period = state.FadeStep(); period != 0; period = state.FadeStep())
        periods.push_back(period);
    EXPECT_EQ(periods, (std::vector<int>{240, 225, 210, 195, 180, 165, 150, 135, 120, 105}));
    EXPECT_EQ(state.GetHighlight(), 0);
    EXPECT_FALSE(state.IsHighlighted(CSignalState::kDtr)) << "drawn normally again";
}

TEST(SignalState, ASecondChangeRestartsTheFadeForItsOwnLines) {
    CSignalState state;
    state.Refresh({1, 0, 0, 1, 0, 0});
    state.FadeStep();
    state.FadeStep();
    EXPECT_FALSE(state.Refresh({1, 0, 0, 1, 0, 0}));
    EXPECT_EQ(state.GetHighlight(), 225) << "an unchanged refresh leaves the fade alone";
    EXPECT_TRUE(state.Refresh({1, 1, 0, 1, 0, 0}));
    EXPECT_EQ(state.GetChanged(), static_cast<unsigned>(CSignalState::kTxd));
    EXPECT_EQ(state.GetHighlight(), 255);
}

TEST(SignalState, UnreadableInputsShowADash) {
    CSignalState state;
    EXPECT_TRUE(state.Refresh({0, 0, 0, -1, -1, -1}));
    EXPECT_EQ(state.GetChanged(),
              static_cast<unsigned>(CSignalState::kCts | CSignalState::kDsr | CSignalState::kDcd));
    EXPECT_STREQ(CSignalState::Text(-1), "-");
    EXPECT_STREQ(CSignalState::Text(0), "0");
    EXPECT_STREQ(CSignalState::Text(1), "1");
}

} // namespace
