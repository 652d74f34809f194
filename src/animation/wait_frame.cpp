#include "animation/wait_frame.h"

#include <sys/prctl.h>

#include <cmath>
#include <limits>
#include <thread>

namespace kelto {
namespace {

using TimePoint = WaitClock::TimePoint;

// From `from`, saturating at the clock's end instead of overflowing.
TimePoint After(TimePoint from, std::uint64_t iterations) {
    constexpr auto kLongest = std::chrono::nanoseconds::max().count() / kIdleIterationTime.count();
    const auto count = static_cast<std::int64_t>(
        iterations > static_cast<std::uint64_t>(kLongest) ? kLongest : iterations);
    const auto length = std::chrono::nanoseconds(count * kIdleIterationTime.count());
    return length >= TimePoint::max() - from ? TimePoint::max() : from + length;
}

}  // namespace

std::uint64_t IdleIterations(double delayCount) {
    if (!(delayCount >= 0)) return 0;
    constexpr auto kMax = std::numeric_limits<std::uint64_t>::max();
    // 2^64 is exact in a double; anything at or above it cannot be counted anyway.
    if (delayCount >= 18446744073709551616.0) return kMax;
    const auto whole = static_cast<std::uint64_t>(std::floor(delayCount));
    return whole == kMax ? kMax : whole + 1;
}

TimePoint SteadyWaitClock::Now() {
    return std::chrono::steady_clock::now();
}

void SteadyWaitClock::SleepUntil(TimePoint deadline) {
    // The default 50 us of slack would make every wake-up late by about that much.
    static thread_local const bool kTightSlack = prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0) == 0;
    (void)kTightSlack;
    if (deadline - Now() > kSpinBelow) std::this_thread::sleep_until(deadline);
    while (Now() < deadline) {
    }
}

PreciseIdleWaiter::PreciseIdleWaiter(WaitClock& clock) : clock_(clock) {}

void PreciseIdleWaiter::WaitIterations(std::uint64_t iterations) {
    if (iterations == 0) {
        carriedIterations_ = 0;
        return;
    }
    const TimePoint now = clock_.Now();
    const TimePoint carried = After(deadline_, iterations);
    const bool fits = iterations == carriedIterations_ && now <= carried;
    deadline_ = fits ? carried : After(now, iterations);
    carriedIterations_ = iterations;
    clock_.SleepUntil(deadline_);
}

}  // namespace kelto
