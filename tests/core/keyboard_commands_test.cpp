#include "input/keyboard_commands.h"

#include <gtest/gtest.h>

#include <map>

#include "animation/pass_rules.h"
#include "support/positions.h"
#include "support/recording_end.h"

namespace kelto {
namespace {

using testing::RecordingEnd;

TEST(KeyPress, OnlyTheListedCharactersActAndEachWritesItsRequest) {
    const std::map<char16_t, std::int16_t> acting{
        {u'-', step::kRunBackward},       {u'+', step::kRunForward},
        {u',', step::kRunForward},        {u'/', step::kStopOrStepBack},
        {u'*', step::kStopOrStepForward}, {u'.', step::kStopOrStepForward}};
    for (std::uint32_t code = 0; code <= 0xFFFF; ++code) {
        AnimationState state;
        state.StepCommand = 42;  // a marker no writer produces
        RecordingEnd end;
        Picture1_KeyPress(state, static_cast<char16_t>(code), end);
        const auto it = acting.find(static_cast<char16_t>(code));
        if (code == kEscape) {
            EXPECT_EQ(end.quits, 1);
            EXPECT_EQ(state.StepCommand, 42);
        } else if (it != acting.end()) {
            EXPECT_EQ(state.StepCommand, it->second) << "code " << code;
            EXPECT_EQ(end.quits, 0);
        } else {
            ASSERT_EQ(state.StepCommand, 42) << "code " << code;
            ASSERT_EQ(end.quits, 0) << "code " << code;
        }
    }
}

TEST(KeyPress, TouchesNothingButTheStepCommand) {
    AnimationState state;
    state.Position = 4;
    state.RunForward = 1;
    state.DelayCount = 77;
    state.MouseMode = 1;
    AnimationState expected = state;
    expected.StepCommand = step::kRunBackward;
    RecordingEnd end;
    Picture1_KeyPress(state, u'-', end);
    EXPECT_EQ(state, expected);
}

TEST(KeyPress, EqualsSignAndLookalikesDoNothing) {
    for (char16_t code : {u'=', u'\uFF0B', u'\u2212', u'\u00D7', u'\u2215', u'\u00B7'}) {
        AnimationState state;
        RecordingEnd end;
        Picture1_KeyPress(state, code, end);
        EXPECT_EQ(state, AnimationState{}) << "code " << int{code};
    }
}

std::vector<int> TypeThenRun(AnimationState& state, char16_t key, int passes) {
    RecordingEnd end;
    Picture1_KeyPress(state, key, end);
    return testing::Positions(state, passes);
}

TEST(KeyPress, PlusWhileStoppedAtFourRunsFromSix) {
    AnimationState state;
    state.Position = 4;
    EXPECT_EQ(TypeThenRun(state, u'+', 3), (std::vector<int>{6, 7, 8}));
}

TEST(KeyPress, MinusWhileRunningForwardAtFourRunsBackFromTwo) {
    AnimationState state;
    state.Position = 4;
    state.StepCommand = step::kRunning;
    state.RunForward = 1;
    EXPECT_EQ(TypeThenRun(state, u'-', 5), (std::vector<int>{2, 1, 0, 17, 16}));
}

TEST(KeyPress, StarStopsARunThenEachFurtherStarStepsForward) {
    AnimationState state;
    state.Position = 10;
    TypeThenRun(state, u'+', 1);  // 12, running forward
    EXPECT_EQ(TypeThenRun(state, u'*', 2), (std::vector<int>{12, 12}));
    EXPECT_EQ(TypeThenRun(state, u'*', 2), (std::vector<int>{13, 13}));
    EXPECT_EQ(TypeThenRun(state, u'.', 1), (std::vector<int>{14}));
}

TEST(KeyPress, CommaAndPlusAgreeAsDoPeriodAndStar) {
    for (int position = 0; position < kFrameCount; ++position) {
        for (auto [a, b] : {std::pair{u',', u'+'}, std::pair{u'.', u'*'}}) {
            AnimationState first;
            first.Position = static_cast<std::int16_t>(position);
            AnimationState second = first;
            EXPECT_EQ(TypeThenRun(first, a, 3), TypeThenRun(second, b, 3));
            EXPECT_EQ(first, second);
        }
    }
}

TEST(KeyPress, HeldStarStepsAtMostOneFramePerPass) {
    AnimationState state;
    state.Position = 3;
    RecordingEnd end;
    for (int i = 0; i < 5; ++i) Picture1_KeyPress(state, u'*', end);  // auto-repeat
    AdvancePosition(state);
    EXPECT_EQ(state.Position, 4);
}

TEST(KeyPress, EscapeQuitsEvenInSteeringMode) {
    AnimationState state;
    state.MouseMode = 1;
    RecordingEnd end;
    Picture1_KeyPress(state, kEscape, end);
    EXPECT_EQ(end.quits, 1);
}

}  // namespace
}  // namespace kelto
