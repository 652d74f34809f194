#include "animation/pass_rules.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/positions.h"

namespace kelto {
namespace {

using testing::Positions;

AnimationState Stopped(int position) {
    AnimationState state;
    state.Position = static_cast<std::int16_t>(position);
    state.StepCommand = step::kStopped;
    return state;
}

AnimationState RunningForward(int position) {
    AnimationState state = Stopped(position);
    state.StepCommand = step::kRunning;
    state.RunForward = 1;
    return state;
}

AnimationState RunningBackward(int position) {
    AnimationState state = Stopped(position);
    state.StepCommand = step::kRunning;
    state.RunBackward = 1;
    return state;
}

TEST(EnterLoop, SetsOnlyTheRunCommandAndTheStartPace) {
    AnimationState state;
    state.Position = 7;
    state.RunBackward = 1;
    state.MouseMode = 1;
    state.LastMouseY = 3.5f;
    state.StepCommand = step::kStopOrStepBack;
    state.DelayCount = 12;
    AnimationState expected = state;
    expected.StepCommand = step::kRunning;
    expected.DelayCount = 1000000;
    EnterLoop(state);
    EXPECT_EQ(state, expected);
}

TEST(PassRules, StartUpRunsForwardOneFramePerPassAndWraps) {
    AnimationState state;
    EnterLoop(state);
    std::vector<int> expected;
    for (int i = 1; i <= 20; ++i) expected.push_back(i % 18);
    EXPECT_EQ(Positions(state, 20), expected);
    EXPECT_EQ(state.RunForward, 0);
    EXPECT_EQ(state.RunBackward, 0);
}

TEST(PassRules, StopDuringStartUpRunStepsOnceMoreThenStays) {
    AnimationState state;
    EnterLoop(state);
    Positions(state, 3);  // at 3
    state.StepCommand = step::kStopOrStepForward;
    EXPECT_EQ(Positions(state, 3), (std::vector<int>{4, 4, 4}));
    state.StepCommand = step::kStopOrStepForward;
    EXPECT_EQ(Positions(state, 2), (std::vector<int>{5, 5}));
    EXPECT_EQ(state.StepCommand, step::kStopped);
}

TEST(PassRules, StepBackDuringStartUpRunStepsBackOnce) {
    AnimationState state;
    EnterLoop(state);
    Positions(state, 2);  // at 2
    state.StepCommand = step::kStopOrStepBack;
    EXPECT_EQ(Positions(state, 2), (std::vector<int>{1, 1}));
}

TEST(PassRules, StopWhileRunningStaysOnTheCurrentFrame) {
    AnimationState backward = RunningBackward(0);
    backward.StepCommand = step::kStopOrStepBack;
    EXPECT_EQ(Positions(backward, 2), (std::vector<int>{0, 0}));
    EXPECT_EQ(backward.RunBackward, 0);

    AnimationState forward = RunningForward(9);
    forward.StepCommand = step::kStopOrStepForward;
    EXPECT_EQ(Positions(forward, 2), (std::vector<int>{9, 9}));

    // The other stop key stops a run just the same, in either direction.
    AnimationState crossed = RunningForward(9);
    crossed.StepCommand = step::kStopOrStepBack;
    EXPECT_EQ(Positions(crossed, 1), (std::vector<int>{9}));
    AnimationState crossedBack = RunningBackward(4);
    crossedBack.StepCommand = step::kStopOrStepForward;
    EXPECT_EQ(Positions(crossedBack, 1), (std::vector<int>{4}));
}

TEST(PassRules, SingleStepsWhileStoppedWrapBothWays) {
    AnimationState state = Stopped(0);
    state.StepCommand = step::kStopOrStepBack;
    EXPECT_EQ(Positions(state, 2), (std::vector<int>{17, 17}));
    state.StepCommand = step::kStopOrStepForward;
    EXPECT_EQ(Positions(state, 1), (std::vector<int>{0}));
    EXPECT_EQ(state.StepCommand, step::kStopped);
}

TEST(PassRules, RunForwardRequestTakesTwoStepsOnItsFirstPass) {
    AnimationState state = Stopped(5);
    state.StepCommand = step::kRunForward;
    EXPECT_EQ(Positions(state, 4), (std::vector<int>{7, 8, 9, 10}));
    EXPECT_EQ(state.RunForward, 1);
    EXPECT_EQ(state.StepCommand, step::kRunning);
}

TEST(PassRules, RunBackwardOverridesAForwardRunAtOnce) {
    AnimationState state = RunningForward(5);
    state.StepCommand = step::kRunBackward;
    EXPECT_EQ(Positions(state, 6), (std::vector<int>{3, 2, 1, 0, 17, 16}));
    EXPECT_EQ(state.RunForward, 0);
    EXPECT_EQ(state.RunBackward, 1);
}

TEST(PassRules, RunForwardOverridesABackwardRunAcrossTheWrap) {
    AnimationState state = RunningBackward(16);
    state.StepCommand = step::kRunForward;
    EXPECT_EQ(Positions(state, 3), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(state.RunBackward, 0);
}

TEST(PassRules, StoppedStateDoesNotMove) {
    AnimationState state = Stopped(11);
    EXPECT_EQ(Positions(state, 5), (std::vector<int>(5, 11)));
}

TEST(PassRules, EveryRequestFromEveryStateKeepsPositionInRangeAndFlagsConsistent) {
    const std::int16_t requests[] = {step::kStopped,        step::kRunning,
                                     step::kRunBackward,    step::kRunForward,
                                     step::kStopOrStepBack, step::kStopOrStepForward};
    for (int position = 0; position < kFrameCount; ++position) {
        for (auto start :
             {Stopped(position), RunningForward(position), RunningBackward(position)}) {
            for (std::int16_t request : requests) {
                AnimationState state = start;
                state.StepCommand = request;
                if (request == step::kStopped) state.RunForward = state.RunBackward = 0;
                AdvancePosition(state);
                EXPECT_GE(state.Position, 0);
                EXPECT_LT(state.Position, kFrameCount);
                EXPECT_LE(state.RunForward + state.RunBackward, 1);
                EXPECT_TRUE(state.StepCommand == step::kStopped ||
                            state.StepCommand == step::kRunning);
                if (state.StepCommand == step::kStopped) {
                    EXPECT_EQ(state.RunForward + state.RunBackward, 0);
                }
            }
        }
    }
}

}  // namespace
}  // namespace kelto
