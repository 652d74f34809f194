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

// One request written before the first of a few passes, from a given state: the positions
// shown and the run state left behind.
struct PassScenario {
    const char* name;
    AnimationState start;
    std::int16_t request;
    std::vector<int> positions;
    std::int16_t runForward;
    std::int16_t runBackward;
};

void PrintTo(const PassScenario& scenario, std::ostream* out) {
    *out << scenario.name;
}

class PassRulesTable : public ::testing::TestWithParam<PassScenario> {};

TEST_P(PassRulesTable, PositionsAndRunStateFollowTheRequest) {
    const PassScenario& scenario = GetParam();
    AnimationState state = scenario.start;
    state.StepCommand = scenario.request;
    EXPECT_EQ(Positions(state, static_cast<int>(scenario.positions.size())), scenario.positions);
    EXPECT_EQ(state.RunForward, scenario.runForward);
    EXPECT_EQ(state.RunBackward, scenario.runBackward);
    const bool running = scenario.runForward + scenario.runBackward > 0;
    EXPECT_EQ(state.StepCommand, running ? step::kRunning : step::kStopped);
}

const PassScenario kPassScenarios[] = {
    // A stop while running stays on the current frame, whichever stop key and direction.
    {"StopBackWhileRunningBack", RunningBackward(0), step::kStopOrStepBack, {0, 0}, 0, 0},
    {"StopForwardWhileRunningForward", RunningForward(9), step::kStopOrStepForward, {9, 9}, 0, 0},
    {"StopBackWhileRunningForward", RunningForward(9), step::kStopOrStepBack, {9}, 0, 0},
    {"StopForwardWhileRunningBack", RunningBackward(4), step::kStopOrStepForward, {4}, 0, 0},
    // Single steps while stopped wrap both ways.
    {"StepBackFromZeroWraps", Stopped(0), step::kStopOrStepBack, {17, 17}, 0, 0},
    {"StepForwardFromSeventeenWraps", Stopped(17), step::kStopOrStepForward, {0, 0}, 0, 0},
    // A run request takes two steps on its first pass and overrides the other direction.
    {"RunForwardFromStopped", Stopped(5), step::kRunForward, {7, 8, 9, 10}, 1, 0},
    {"RunBackwardOverridesAForwardRun",
     RunningForward(5),
     step::kRunBackward,
     {3, 2, 1, 0, 17, 16},
     0,
     1},
    {"RunForwardOverridesABackwardRunAcrossTheWrap",
     RunningBackward(16),
     step::kRunForward,
     {0, 1, 2},
     1,
     0},
    {"StoppedDoesNotMove", Stopped(11), step::kStopped, {11, 11, 11, 11, 11}, 0, 0},
};

INSTANTIATE_TEST_SUITE_P(PassRules, PassRulesTable, ::testing::ValuesIn(kPassScenarios),
                         [](const auto& info) { return std::string(info.param.name); });

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
