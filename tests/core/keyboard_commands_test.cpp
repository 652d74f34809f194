#include "input/keyboard_commands.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

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

AnimationState At(int position, std::int16_t runForward = 0) {
    AnimationState state;
    state.Position = static_cast<std::int16_t>(position);
    state.RunForward = runForward;
    state.StepCommand = runForward ? step::kRunning : step::kStopped;
    return state;
}

// Keys typed from a given state, each followed by a number of passes: the positions shown.
struct KeyScenario {
    const char* name;
    AnimationState start;
    std::vector<std::pair<char16_t, int>> keysThenPasses;
    std::vector<int> positions;
};

void PrintTo(const KeyScenario& scenario, std::ostream* out) {
    *out << scenario.name;
}

class KeyPressTable : public ::testing::TestWithParam<KeyScenario> {};

TEST_P(KeyPressTable, KeysBetweenPassesGiveThesePositions) {
    const KeyScenario& scenario = GetParam();
    AnimationState state = scenario.start;
    std::vector<int> shown;
    for (const auto& [key, passes] : scenario.keysThenPasses)
        for (int position : TypeThenRun(state, key, passes)) shown.push_back(position);
    EXPECT_EQ(shown, scenario.positions);
}

const KeyScenario kKeyScenarios[] = {
    {"PlusWhileStoppedAtFourRunsFromSix", At(4), {{u'+', 3}}, {6, 7, 8}},
    {"MinusWhileRunningForwardAtFourRunsBackFromTwo", At(4, 1), {{u'-', 5}}, {2, 1, 0, 17, 16}},
    {"StarStopsARunThenEachFurtherStarStepsForward",
     At(12, 1),
     {{u'*', 2}, {u'*', 2}, {u'.', 1}},
     {12, 12, 13, 13, 14}},
    // Auto-repeat: five stars inside one event step.
    {"HeldStarStepsAtMostOneFramePerPass",
     At(3),
     {{u'*', 0}, {u'*', 0}, {u'*', 0}, {u'*', 0}, {u'*', 1}},
     {4}},
};

INSTANTIATE_TEST_SUITE_P(KeyPress, KeyPressTable, ::testing::ValuesIn(kKeyScenarios),
                         [](const auto& info) { return std::string(info.param.name); });

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

TEST(KeyPress, EscapeQuitsEvenInSteeringMode) {
    AnimationState state;
    state.MouseMode = 1;
    RecordingEnd end;
    Picture1_KeyPress(state, kEscape, end);
    EXPECT_EQ(end.quits, 1);
}

}  // namespace
}  // namespace kelto
