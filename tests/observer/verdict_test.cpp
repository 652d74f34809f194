#include "observer/verdict.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelto::observer {
namespace {

// Samples every 50 ms from `start`, one frame each.
std::vector<Sample> Every50(long long start, const std::vector<int>& frames) {
    std::vector<Sample> samples;
    for (const int frame : frames) samples.push_back({start, frame}), start += 50;
    return samples;
}

Observation With(std::vector<int> steps, long long stable = 2000, int unmatched = 0) {
    Observation seen;
    seen.steps = std::move(steps);
    seen.stableMs = stable;
    seen.unmatched = unmatched;
    return seen;
}

TEST(StepBetween, WrapsModulo18IntoMinus8To9) {
    const struct {
        int from, to, step;
    } cases[] = {{4, 5, 1}, {17, 0, 1},  {0, 17, -1}, {5, 5, 0},  {3, 1, -2},
                 {0, 9, 9}, {0, 10, -8}, {12, 2, 8},  {2, 12, -8}};
    for (const auto& c : cases) EXPECT_EQ(StepBetween(c.from, c.to), c.step) << c.from << c.to;
}

TEST(Observe, StartsAtTheFrameShownWhenTheCommandReturned) {
    // 3 before the command at 100, then a step to 4 and a rest.
    const auto seen = Observe(Every50(0, {3, 3, 3, 3, -1, 4, 4, 4, 4}), 100);
    EXPECT_EQ(seen.frames, (std::vector<int>{3, 4}));
    EXPECT_EQ(seen.steps, (std::vector<int>{1}));
    EXPECT_EQ(seen.stableMs, 150);
    EXPECT_EQ(seen.unmatched, 1);
    EXPECT_TRUE(seen.seenBefore);
}

TEST(Observe, ChangesBeforeTheCommandAreNotItsAnswer) {
    const auto seen = Observe(Every50(0, {1, 2, 3, 3, 3}), 120);
    EXPECT_EQ(seen.frames, (std::vector<int>{3}));
    EXPECT_TRUE(seen.steps.empty());
}

TEST(Observe, WithoutASampleBeforeStartsAtTheFirstAndTimesTheStands) {
    const auto seen = Observe(Every50(1000, {7, 7, 8, 8, 8, 8, 9, 9, 9, 10}), 0);
    EXPECT_FALSE(seen.seenBefore);
    EXPECT_EQ(seen.frames, (std::vector<int>{7, 8, 9, 10}));
    // Only the frames between the first and the last change stood a known time.
    EXPECT_EQ(seen.stood, (std::vector<long long>{200, 150}));
    EXPECT_EQ(seen.stableMs, 0);
}

TEST(Observe, SeesNothingWithoutAMatchedSample) {
    const auto seen = Observe(Every50(0, {-1, -1}), 0);
    EXPECT_TRUE(seen.frames.empty());
    EXPECT_EQ(seen.unmatched, 2);
}

TEST(Done, CountsOnTheSamplesTimesSoAStalledProbeMakesNoRest) {
    const Until until{1000, 1, 0, 10000};
    // The command at 100; the probe then stalled: its last sample is from 250, however late
    // the reader looks, so the rest is 150 ms, not the gap.
    auto samples = Every50(0, {3, 3, 3, 3, 4, 4});
    EXPECT_FALSE(Done(samples, 100, until));
    // It comes back: the frame changed in the gap, and the rest starts again from there.
    samples.push_back({2600, 5});
    EXPECT_FALSE(Done(samples, 100, until));
    samples.push_back({3600, 5});
    EXPECT_TRUE(Done(samples, 100, until));
}

TEST(Done, StopsOnEachCondition) {
    const auto still = Every50(0, std::vector<int>(30, 3));  // 1450 ms of frame 3
    EXPECT_TRUE(Done(still, 0, {1000, 0, 0, 10000})) << "a rest";
    EXPECT_FALSE(Done(still, 0, {1000, 1, 0, 10000})) << "a rest before the changes wanted";
    EXPECT_TRUE(Done(still, 0, {5000, 1, 0, 1400})) << "the deadline";
    const auto run = Every50(0, {1, 2, 3, 4, 5});
    EXPECT_TRUE(Done(run, 0, {10000, 0, 4, 10000})) << "enough changes";
    EXPECT_FALSE(Done(run, 0, {10000, 0, 5, 10000}));
    // Unmatched samples neither change nor rest the frame, but the deadline holds for them.
    EXPECT_FALSE(Done(Every50(0, {3, -1, -1, -1}), 0, {100, 0, 0, 10000}));
    EXPECT_TRUE(Done(Every50(0, std::vector<int>(30, -1)), 0, {100, 0, 0, 1400}));
}

TEST(Format, ReadsBackWhatItWrote) {
    const auto seen = Observe(Every50(0, {3, 3, 4, 5, -1, 5, 6, 6}), 60);
    const auto back = Parse(Format(seen));
    ASSERT_TRUE(back);
    EXPECT_EQ(Format(*back), Format(seen));
    EXPECT_EQ(Format(seen),
              "frames=3,4,5,6 steps=1,1,1 stood=50,150 stable=50 unmatched=1 before=1");
    EXPECT_EQ(Format(*Parse("frames= steps= stood= stable=0 unmatched=0 before=0")),
              "frames= steps= stood= stable=0 unmatched=0 before=0");
    for (const std::string bad :
         {"", "frames=3", "frames=x steps= stood= stable=0 unmatched=0 before=0",
          "frames=3 steps= stood= stable=0 unmatched=0 before=0 extra=1"})
        EXPECT_FALSE(Parse(bad)) << bad;
}

struct Case {
    const char* what;
    Observation seen;
    std::vector<std::string> terms;
    bool pass;
};

TEST(Judge, KeyAndSteeringVerdicts) {
    const Case cases[] = {
        {"one step, then a rest", With({1}), {"steps", "^1$", "rests", "1000"}, true},
        {"rest too short", With({1}, 900), {"steps", "^1$", "rests", "1000"}, false},
        {"a step too many", With({1, 1}), {"steps", "^1$"}, false},
        {"stop in a run: up to two more", With({1, 1}), {"steps", "^(1(,1)?)?$"}, true},
        {"stands still", With({}), {"still"}, true},
        {"still for less than a second", With({}, 999), {"still"}, false},
        {"moved while it should stand", With({1}), {"still"}, false},
        {"+ from standstill", With({2, 1, 1, 1}), {"forward", "^2"}, true},
        {"a missed sample is a step of 2", With({2, 1, 2, 1}), {"forward", "^2"}, true},
        {"only steps of 2: two frames a pass", With({2, 2, 2, 2}), {"forward", "^2"}, false},
        {"three frames in a pass", With({2, 1, 3, 1}), {"forward", "^2"}, false},
        {"an unmatched sample in a run", With({2, 1, 1}, 0, 1), {"forward", "^2"}, false},
        {"- in a forward run", With({1, -2, -1, -1}), {"backward", "^(1,){0,2}-2"}, true},
        {"- running forward after all", With({1, -2, 1, 1}), {"backward", "^(1,){0,2}-2"}, false},
        {"steered move down", With({-1}), {"all", "-1"}, true},
        {"steered the other way", With({-1, 1}), {"all", "-1"}, false},
        {"within 40 changes", With(std::vector<int>(40, 1)), {"changes-at-least", "40"}, true},
        {"too slow", With(std::vector<int>(39, 1)), {"changes-at-least", "40"}, false},
        {"watchable pace", With(std::vector<int>(12, 1)), {"changes-at-most", "12"}, true},
        {"too fast to watch", With(std::vector<int>(13, 1)), {"changes-at-most", "12"}, false},
        {"an unmatched sample", With({}, 0, 1), {"exact"}, false},
        {"unknown term", With({}), {"sideways"}, false},
        {"missing argument", With({1}), {"rests"}, false},
    };
    for (const auto& c : cases) EXPECT_EQ(Judge(c.seen, c.terms).pass, c.pass) << c.what;
}

TEST(Judge, FastRunsTolerateAStalledProbeButNotTheWrongWay) {
    // A gap of nine or more passes reads as a step backwards: one such in ten is a stall.
    const std::vector<int> stalled{1, 1, 2, 1, -8, 1, 3, 1, 1, 1};
    EXPECT_TRUE(Judge(With(stalled), {"fast", "1"}).pass);
    EXPECT_FALSE(Judge(With(stalled), {"forward", "^1"}).pass) << "not at the start pace";
    EXPECT_FALSE(Judge(With({1, -8, -8, 1, -8, 1, 1, 1, 1, 1}), {"fast", "1"}).pass);
    EXPECT_FALSE(Judge(With({1, 1, 1, 1, 1, 1, 1, 1, 1}), {"fast", "1"}).pass) << "9 changes";
    EXPECT_FALSE(Judge(With(std::vector<int>(12, -1)), {"fast", "1"}).pass);
    EXPECT_TRUE(Judge(With(std::vector<int>(12, -1)), {"fast", "-1"}).pass);
    EXPECT_FALSE(Judge(With(std::vector<int>(12, 1), 0, 1), {"fast", "1"}).pass);
}

TEST(Judge, WherePreviousObservationsLeftTheCamAndHowLongFramesStood) {
    Observation seen = With({-1});
    seen.frames = {5, 4};
    seen.stood = {250, 30, 240, 260, 20};
    EXPECT_TRUE(Judge(seen, {"starts-at", "5"}).pass);
    const auto failed = Judge(seen, {"exact", "starts-at", "4"});
    EXPECT_FALSE(failed.pass);
    EXPECT_EQ(failed.failed, "starts-at 4");
    EXPECT_TRUE(Judge(seen, {"short-at-most", "2", "100"}).pass);
    EXPECT_FALSE(Judge(seen, {"short-at-most", "1", "100"}).pass);
}

}  // namespace
}  // namespace kelto::observer
