#include "animation/wait_frame.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>

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

TEST(PreciseIdleWaiter, WaitsAtLeastTheWholeLength) {
    using Clock = std::chrono::steady_clock;
    PreciseIdleWaiter waiter;
    for (std::uint64_t iterations : {0ull, 1ull, 4000ull, 80001ull}) {
        const auto start = Clock::now();
        waiter.WaitIterations(iterations);
        const auto waited = Clock::now() - start;
        EXPECT_GE(waited, iterations * kIdleIterationTime) << iterations << " iterations";
    }
}

}  // namespace
}  // namespace kelto
