#include "input/mouse_control.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "animation/pass_rules.h"
#include "input/keyboard_commands.h"
#include "support/positions.h"
#include "support/recording_end.h"

namespace kelto {
namespace {

using testing::Positions;
using testing::RecordingEnd;

double PaceAt(float X, float Y) {
    AnimationState state;
    RecordingEnd end;
    Picture1_MouseMove(state, 0, 0, X, Y, end);
    EXPECT_TRUE(end.failures.empty());
    return state.DelayCount;
}

TEST(MouseMoveNormalMode, PaceIsXTimesSeventyTimesYRoundedOnceToFloat) {
    EXPECT_EQ(PaceAt(0.0f, 17.3f), 0.0);
    EXPECT_EQ(PaceAt(9.2f, 0.0f), 0.0);
    EXPECT_EQ(PaceAt(10.0f, 15.0f), 10500.0);
    // The product is rounded once, from double, not after each multiplication.
    const float X = 14.8517f, Y = 18.75f;
    EXPECT_EQ(PaceAt(X, Y), static_cast<double>(static_cast<float>((double{X} * 70.0) * Y)));
    EXPECT_NEAR(PaceAt(X, Y), 19492.9, 0.1);
    for (float x = 0.01f; x < 15; x += 0.37f) {
        const float y = x + 1.1f;
        ASSERT_EQ(PaceAt(x, y), static_cast<double>(static_cast<float>((double{x} * 70.0) * y)));
    }
}

TEST(MouseMoveNormalMode, ExactlyOneNegativeCoordinateGivesANegativePace) {
    EXPECT_LT(PaceAt(-0.5f, 3.0f), 0.0);
    EXPECT_LT(PaceAt(4.0f, -2.0f), 0.0);
    EXPECT_GT(PaceAt(-4.0f, -2.0f), 0.0);
}

TEST(MouseMoveNormalMode, LeavesEverythingButThePaceAlone) {
    AnimationState state;
    state.StepCommand = step::kRunning;
    state.RunForward = 1;
    state.LastMouseY = 6;
    AnimationState expected = state;
    expected.DelayCount = 700;
    RecordingEnd end;
    Picture1_MouseMove(state, 1, 2, 1.0f, 10.0f, end);
    EXPECT_EQ(state, expected);
}

TEST(MouseMoveNormalMode, NonFiniteProductEndsTheProgramWithAMessage) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kMax = std::numeric_limits<float>::max();
    for (auto [X, Y] : {std::pair{kInf, 1.0f}, std::pair{0.0f, kInf}, std::pair{kNaN, 2.0f},
                        std::pair{kMax, kMax}, std::pair{-kMax, 2.0f}}) {
        AnimationState state;
        state.DelayCount = 123;
        RecordingEnd end;
        Picture1_MouseMove(state, 0, 0, X, Y, end);
        ASSERT_EQ(end.failures.size(), 1u) << X << " " << Y;
        EXPECT_NE(end.failures[0].find("floating-point"), std::string::npos);
        EXPECT_EQ(state.DelayCount, 123);
    }
    // The largest products of real pointer coordinates are far from a fault.
    EXPECT_NEAR(PaceAt(1e6f, 1e6f), 7e13, 1e7);
}

TEST(MouseSteering, EachMoveRequestsOneStepByVerticalDirection) {
    AnimationState state;
    RecordingEnd end;
    Picture1_Click(state);
    Picture1_MouseMove(state, 0, 0, 3.0f, 0.0f, end);  // first use compares with 0: level
    EXPECT_EQ(state.StepCommand, step::kStopOrStepForward);
    EXPECT_EQ(state.DelayCount, 80000);
    Picture1_MouseMove(state, 0, 0, 3.0f, 2.0f, end);
    EXPECT_EQ(state.StepCommand, step::kStopOrStepForward);
    Picture1_MouseMove(state, 0, 0, 9.0f, 1.5f, end);
    EXPECT_EQ(state.StepCommand, step::kStopOrStepBack);
    Picture1_MouseMove(state, 0, 0, 1.0f, 1.5f, end);  // sideways only
    EXPECT_EQ(state.StepCommand, step::kStopOrStepForward);
    EXPECT_EQ(state.LastMouseY, 1.5f);
    Picture1_MouseMove(state, 0, 0, 1.0f, -0.1f, end);  // upward, past the top edge
    EXPECT_EQ(state.StepCommand, step::kStopOrStepBack);
}

TEST(MouseSteering, FirstMoveOfALaterSessionComparesWithTheLastY) {
    AnimationState state;
    RecordingEnd end;
    Picture1_Click(state);
    Picture1_MouseMove(state, 0, 0, 1.0f, 8.0f, end);
    Picture1_Click(state);
    Picture1_MouseMove(state, 0, 0, 1.0f, 2.0f, end);  // normal mode: LastMouseY untouched
    EXPECT_EQ(state.LastMouseY, 8.0f);
    Picture1_Click(state);
    Picture1_MouseMove(state, 0, 0, 1.0f, 7.0f, end);
    EXPECT_EQ(state.StepCommand, step::kStopOrStepBack);
}

TEST(MouseSteering, RunForwardThenSteerBackThenResumeFromWhereSteeringLeftIt) {
    AnimationState state;
    state.Position = 4;
    RecordingEnd end;
    Picture1_KeyPress(state, u'+', end);
    EXPECT_EQ(Positions(state, 2), (std::vector<int>{6, 7}));
    Picture1_Click(state);
    EXPECT_EQ(Positions(state, 1), (std::vector<int>{8}));  // the run goes on until a move
    Picture1_MouseMove(state, 0, 0, 2.0f, 10.0f, end);      // stops the run without stepping
    EXPECT_EQ(Positions(state, 1), (std::vector<int>{8}));
    for (float y : {9.0f, 8.0f, 7.0f}) {
        Picture1_MouseMove(state, 0, 0, 2.0f, y, end);
        Positions(state, 1);
    }
    EXPECT_EQ(state.Position, 5);
    Picture1_Click(state);
    EXPECT_EQ(Positions(state, 3), (std::vector<int>{6, 7, 8}));
    EXPECT_EQ(state.DelayCount, 80000);  // kept until a move in normal mode
}

TEST(MouseSteering, StartUpRunStepsOnceOnTheFirstMove) {
    AnimationState state;
    EnterLoop(state);
    Positions(state, 2);  // at 2
    Picture1_Click(state);
    RecordingEnd end;
    Picture1_MouseMove(state, 0, 0, 2.0f, 3.0f, end);
    EXPECT_EQ(Positions(state, 2), (std::vector<int>{3, 3}));
}

TEST(MouseSteering, ManyMovesInOnePassStepOnce) {
    AnimationState state;
    state.Position = 6;
    RecordingEnd end;
    Picture1_Click(state);
    for (float y = 1; y < 6; ++y) Picture1_MouseMove(state, 0, 0, 2.0f, y, end);
    EXPECT_EQ(Positions(state, 2), (std::vector<int>{7, 7}));
}

TEST(MouseClick, ARequestPendingAtTheFirstClickIsReplayedOnTheSecond) {
    AnimationState state;
    state.Position = 9;
    RecordingEnd end;
    Picture1_KeyPress(state, u'-', end);
    Picture1_Click(state);
    EXPECT_EQ(state.SavedCommand, step::kRunBackward);
    Picture1_KeyPress(state, u'*', end);
    Positions(state, 1);  // stops at 10
    Picture1_Click(state);
    EXPECT_EQ(state.StepCommand, step::kRunBackward);
    EXPECT_EQ(Positions(state, 2), (std::vector<int>{8, 7}));
}

TEST(MouseClick, TogglesAndSavesOnlyOnTheWayIn) {
    AnimationState state;
    state.StepCommand = step::kRunning;
    state.RunBackward = 1;
    Picture1_Click(state);
    EXPECT_EQ(state.MouseMode, 1);
    state.StepCommand = step::kStopped;
    state.RunBackward = 0;
    state.RunForward = 0;
    Picture1_Click(state);
    EXPECT_EQ(state.MouseMode, 0);
    EXPECT_EQ(state.StepCommand, step::kRunning);
    EXPECT_EQ(state.RunBackward, 1);
    EXPECT_EQ(state.SavedRunBackward, 1);
}

TEST(MouseDoubleClick, TheGesturesClickTogglesFirstThenTheProgramEnds) {
    AnimationState state;
    RecordingEnd end;
    Picture1_Click(state);
    Picture1_DblClick(end);
    EXPECT_EQ(state.MouseMode, 1);
    EXPECT_EQ(end.quits, 1);
}

}  // namespace
}  // namespace kelto
