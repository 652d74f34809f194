#include "animation/frame_table.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

#include "animation/animation_loop.h"
#include "input/keyboard_commands.h"
#include "input/mouse_control.h"
#include "support/fake_host.h"
#include "support/recording_end.h"

namespace kelto {
namespace {

using testing::CountingWaiter;
using testing::FakeHost;
using testing::RecordingEnd;
using testing::TestPicture;

struct Holders {
    Holders() {
        for (int k = 0; k < kFrameCount; ++k) pictures[k].holder = k + 1;
    }
    const TestPicture& operator()(int holder) {
        requested.push_back(holder);
        return pictures.at(holder - 1);
    }
    std::array<TestPicture, kFrameCount> pictures;
    std::vector<int> requested;
};

TEST(FrameTable, FillShowsEntryZeroFirstThenProcessesEventsAfterEachLaterEntry) {
    FakeHost host;
    Holders holders;
    FrameTable<TestPicture> table;
    std::vector<int> filledWhenEventsRan;
    host.onEvents = [&](int) { filledWhenEventsRan.push_back(holders.requested.back()); };
    table.Fill(holders, host);

    EXPECT_EQ(host.shown, (std::vector<int>{1}));
    EXPECT_EQ(host.log.front(), "show 1");
    EXPECT_EQ(host.eventSteps, 17);
    std::vector<int> expected;
    for (int k = 2; k <= 18; ++k) expected.push_back(k);
    EXPECT_EQ(filledWhenEventsRan, expected);
}

TEST(FrameTable, EntryKRefersToHolderKPlusOneWithoutCopying) {
    FakeHost host;
    Holders holders;
    FrameTable<TestPicture> table;
    table.Fill(holders, host);
    for (int k = 0; k < kFrameCount; ++k) EXPECT_EQ(&table.Lookup(k), &holders.pictures[k]);
}

TEST(FrameTable, LookupOutsideTheTableOrBeforeFillingFails) {
    FrameTable<TestPicture> empty;
    EXPECT_THROW(empty.Lookup(0), std::out_of_range);
    FakeHost host;
    Holders holders;
    FrameTable<TestPicture> table;
    table.Fill(holders, host);
    EXPECT_THROW(table.Lookup(-1), std::out_of_range);
    EXPECT_THROW(table.Lookup(18), std::out_of_range);
    EXPECT_NO_THROW(table.Lookup(17));
}

class LoopTest : public ::testing::Test {
  protected:
    LoopTest() : waiter(&host.log), loop(state, table, host, waiter) { table.Fill(holders, host); }

    void EnterLoopAndClearLog() {
        EnterLoop(state);
        host.log.clear();
        host.shown.clear();
        host.eventSteps = 0;
    }

    AnimationState state;
    FakeHost host;
    Holders holders;
    FrameTable<TestPicture> table;
    CountingWaiter waiter;
    AnimationLoop<TestPicture> loop;
};

TEST_F(LoopTest, APassShowsThenWaitsThenProcessesEvents) {
    EnterLoopAndClearLog();
    loop.RunPass();
    EXPECT_EQ(host.log, (std::vector<std::string>{"show 2", "wait 1000001", "events"}));
}

TEST_F(LoopTest, TheFrameIsAssignedEveryPassEvenWhenStopped) {
    EnterLoopAndClearLog();
    state.StepCommand = step::kStopOrStepForward;
    for (int i = 0; i < 3; ++i) loop.RunPass();
    EXPECT_EQ(host.shown, (std::vector<int>{2, 2, 2}));
}

TEST_F(LoopTest, WaitFollowsTheDelayCountReadAtTheEndOfEachPass) {
    EnterLoopAndClearLog();
    host.onEvents = [&](int step) { state.DelayCount = step == 1 ? -1 : 2.5; };
    for (int i = 0; i < 3; ++i) loop.RunPass();
    EXPECT_EQ(waiter.waits, (std::vector<std::uint64_t>{1000001, 0, 3}));
}

TEST_F(LoopTest, OnlyTheLastRequestOfOneEventStepActs) {
    EnterLoopAndClearLog();
    RecordingEnd end;
    host.onEvents = [&](int step) {
        if (step != 1) return;
        Picture1_KeyPress(state, u'+', end);
        Picture1_KeyPress(state, u'/', end);
    };
    loop.RunPass();  // shows 1, then "+" and "/" arrive
    loop.RunPass();
    loop.RunPass();
    // "/" during the start-up run steps back once and stops; "+" never acts.
    EXPECT_EQ(host.shown, (std::vector<int>{2, 1, 1}));
}

TEST_F(LoopTest, StartUpSequenceShowsFrameZeroThenOneFramePerPass) {
    EnterLoop(state);
    for (int i = 0; i < 19; ++i) loop.RunPass();
    std::vector<int> expected{1};  // holder 1 is frame 0, shown while filling
    for (int i = 1; i <= 19; ++i) expected.push_back(i % 18 + 1);
    EXPECT_EQ(host.shown, expected);
}

// Input can arrive in the 17 event steps of filling, before the loop sets its start values.
class InputDuringFilling : public ::testing::Test {
  protected:
    void FillWith(std::function<void(int)> user) {
        host.onEvents = std::move(user);
        table.Fill(holders, host);
        host.onEvents = nullptr;
        EnterLoop(state);
    }
    AnimationState state;
    FakeHost host;
    Holders holders;
    FrameTable<TestPicture> table;
    RecordingEnd end;
};

TEST_F(InputDuringFilling, AKeyWithoutAClickHasNoLastingEffect) {
    FillWith([&](int step) {
        if (step == 3) Picture1_KeyPress(state, u'-', end);
        if (step == 4) Picture1_MouseMove(state, 0, 0, 5.0f, 5.0f, end);
    });
    EXPECT_EQ(state.StepCommand, step::kRunning);
    EXPECT_EQ(state.DelayCount, kStartDelayCount);
    EXPECT_EQ(state.RunBackward, 0);
}

TEST_F(InputDuringFilling, AClickLeavesSteeringOnAndSavesThePendingRequest) {
    FillWith([&](int step) {
        if (step == 2) Picture1_KeyPress(state, u'-', end);
        if (step == 5) Picture1_Click(state);
    });
    EXPECT_EQ(state.MouseMode, 1);
    EXPECT_EQ(state.StepCommand, step::kRunning);
    // Leaving steering later replays the saved request.
    Picture1_Click(state);
    EXPECT_EQ(state.MouseMode, 0);
    EXPECT_EQ(state.StepCommand, step::kRunBackward);
}

TEST_F(InputDuringFilling, EscapeAsksToEndAtOnce) {
    FillWith([&](int step) {
        if (step == 1) Picture1_KeyPress(state, kEscape, end);
    });
    EXPECT_EQ(end.quits, 1);
}

}  // namespace
}  // namespace kelto
