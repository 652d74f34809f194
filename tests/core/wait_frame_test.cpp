#include "animation/wait_frame.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <vector>

namespace kelto {
namespace {

TEST(IdleIterations, CountsFloorPlusOneAndNoneWhenNegative) {
    EXPECT_EQ(IdleIterations(0), 1u);
    EXPECT_EQ(IdleIterations(2.5), 3u);
    EXPECT_EQ(IdleIterations(0.999), 1u);
    EXPECT_EQ(IdleIterations(1000000), 1000001u);
    EXPECT_EQ(IdleIterations(80000), 80001u);
    EXPECT_EQ(IdleIterations(-1), 0u);
    EXPECT_EQ(IdleIterations(-0.5), 0u);
    EXPECT_EQ(IdleIterations(-0.0), 1u);
}

TEST(IdleIterations, SaturatesInsteadOfOverflowing) {
    constexpr auto kMax = std::numeric_limits<std::uint64_t>::max();
    EXPECT_EQ(IdleIterations(1e30), kMax);
    EXPECT_EQ(IdleIterations(std::numeric_limits<double>::infinity()), kMax);
    EXPECT_EQ(IdleIterations(std::numeric_limits<float>::max()), kMax);
    EXPECT_EQ(IdleIterations(9007199254740992.0), 9007199254740993u);
    EXPECT_EQ(IdleIterations(std::numeric_limits<double>::quiet_NaN()), 0u);
}

// Time moves only when a pass works (Work) or the waiter sleeps.
class FakeClock final : public WaitClock {
  public:
    TimePoint Now() override { return now; }
    void SleepUntil(TimePoint deadline) override {
        sleeps.push_back(deadline);
        if (deadline > now) now = deadline;
    }
    void Work(std::chrono::nanoseconds spent) { now += spent; }
    // Time from the start to each end of a wait, in nanoseconds.
    std::vector<long long> WakeTimes() const {
        std::vector<long long> times;
        for (const auto sleep : sleeps) times.push_back((sleep - TimePoint{}).count());
        return times;
    }

    TimePoint now{};
    std::vector<TimePoint> sleeps;
};

using std::chrono::microseconds;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using Times = std::vector<long long>;
using TimePoint = WaitClock::TimePoint;

class PreciseIdleWaiterTest : public ::testing::Test {
  protected:
    FakeClock clock;
    PreciseIdleWaiter waiter{clock};
};

TEST_F(PreciseIdleWaiterTest, ThePassPeriodIsTheLengthWhenTheWorkFitsInIt) {
    clock.Work(milliseconds(3));
    // Start pace: 1000001 iterations, 250.00025 ms. Work of any size that fits is absorbed.
    for (const auto work : {microseconds(0), microseconds(900), microseconds(250000)}) {
        waiter.WaitIterations(1000001);
        clock.Work(work);
    }
    waiter.WaitIterations(1000001);
    EXPECT_EQ(clock.WakeTimes(), (Times{253000250, 503000500, 753000750, 1003001000}));
}

TEST_F(PreciseIdleWaiterTest, AnOverrunningPassWaitsTheWholeLengthFromItsEnd) {
    waiter.WaitIterations(80001);       // 20.00025 ms
    clock.Work(nanoseconds(20000251));  // one nanosecond too long
    waiter.WaitIterations(80001);
    clock.Work(microseconds(5));
    waiter.WaitIterations(80001);  // carried again from the new anchor
    EXPECT_EQ(clock.WakeTimes(), (Times{20000250, 60000751, 80001001}));
}

TEST_F(PreciseIdleWaiterTest, AChangedCountStartsAFreshPeriodFromNow) {
    waiter.WaitIterations(4000);  // 1 ms
    clock.Work(microseconds(100));
    waiter.WaitIterations(4001);
    clock.Work(microseconds(100));
    waiter.WaitIterations(4000);
    clock.Work(microseconds(100));
    waiter.WaitIterations(4000);
    EXPECT_EQ(clock.WakeTimes(), (Times{1000000, 2100250, 3200250, 4200250}));
}

TEST_F(PreciseIdleWaiterTest, NoIterationsRunPassesBackToBackAndDropTheCarriedDeadline) {
    waiter.WaitIterations(4000);
    clock.Work(microseconds(10));
    waiter.WaitIterations(0);  // a negative count
    waiter.WaitIterations(0);
    EXPECT_EQ(clock.sleeps.size(), 1u);
    EXPECT_EQ(clock.now - TimePoint{}, microseconds(1010));
    // Back to the same count: nothing of the old deadline is left to carry.
    waiter.WaitIterations(4000);
    EXPECT_EQ(clock.WakeTimes(), (Times{1000000, 2010000}));
}

TEST_F(PreciseIdleWaiterTest, CountZeroIsOneIterationAfterEachPass) {
    for (int pass = 0; pass < 3; ++pass) {
        clock.Work(microseconds(100));
        waiter.WaitIterations(IdleIterations(0));
    }
    EXPECT_EQ(clock.WakeTimes(), (Times{100250, 200500, 300750}));
}

TEST_F(PreciseIdleWaiterTest, AWorkEqualToThePeriodStillFits) {
    waiter.WaitIterations(8);  // 2 us
    clock.Work(microseconds(2));
    waiter.WaitIterations(8);
    EXPECT_EQ(clock.WakeTimes(), (Times{2000, 4000}));
}

TEST_F(PreciseIdleWaiterTest, CountsBeyondTheClockSaturateAtItsEnd) {
    clock.Work(milliseconds(1));
    constexpr auto kMax = std::numeric_limits<std::uint64_t>::max();
    waiter.WaitIterations(kMax);
    EXPECT_EQ(clock.sleeps.back(), TimePoint::max());
    waiter.WaitIterations(kMax);
    EXPECT_EQ(clock.sleeps.back(), TimePoint::max());
    // Close to the end but not past it: the sum must not wrap.
    FakeClock late;
    late.now = TimePoint::max() - milliseconds(1);
    PreciseIdleWaiter lateWaiter(late);
    lateWaiter.WaitIterations(8000);
    EXPECT_EQ(late.sleeps.back(), TimePoint::max());
}

TEST(SteadyWaitClock, SleepsAtLeastToTheDeadline) {
    SteadyWaitClock clock;
    for (const long long ns : {0ll, 250ll, 30000ll, 1000000ll, 20000000ll}) {
        const nanoseconds length(ns);
        const auto deadline = clock.Now() + length;
        clock.SleepUntil(deadline);
        EXPECT_GE(clock.Now(), deadline) << ns << " ns";
    }
}

}  // namespace
}  // namespace kelto
