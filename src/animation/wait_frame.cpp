#include "animation/wait_frame.h"

#include <cmath>
#include <limits>
#include <thread>

namespace kelto {

std::uint64_t IdleIterations(double delayCount) {
    if (!(delayCount >= 0)) return 0;
    constexpr auto kMax = std::numeric_limits<std::uint64_t>::max();
    // 2^64 is exact in a double; anything at or above it cannot be counted anyway.
    if (delayCount >= 18446744073709551616.0) return kMax;
    const auto whole = static_cast<std::uint64_t>(std::floor(delayCount));
    return whole == kMax ? kMax : whole + 1;
}

void PreciseIdleWaiter::WaitIterations(std::uint64_t iterations) {
    using Clock = std::chrono::steady_clock;
    constexpr auto kLongest = std::chrono::nanoseconds::max().count() / kIdleIterationTime.count();
    const auto count = static_cast<std::int64_t>(
        iterations > static_cast<std::uint64_t>(kLongest) ? kLongest : iterations);
    const auto start = Clock::now();
    const auto length = std::chrono::nanoseconds(count * kIdleIterationTime.count());
    const auto deadline =
        length >= Clock::time_point::max() - start ? Clock::time_point::max() : start + length;
    if (deadline - start > kSpinStretch) std::this_thread::sleep_until(deadline - kSpinStretch);
    while (Clock::now() < deadline) {
    }
}

}  // namespace kelto
