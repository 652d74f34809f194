#pragma once

#include <chrono>
#include <cstdint>

namespace kelto {

// The pace is a count of idle iterations; one iteration lasts this long, so the start
// pace of 1000000 shows four frames a second.
inline constexpr std::chrono::nanoseconds kIdleIterationTime{250};

// floor(delayCount) + 1 iterations, none for a negative count; saturates instead of
// overflowing for counts beyond what 64 bits hold.
std::uint64_t IdleIterations(double delayCount);

// Spends one pass's idle iterations. Injectable so the loop can be run without real time.
class IdleWaiter {
  public:
    virtual ~IdleWaiter() = default;
    virtual void WaitIterations(std::uint64_t iterations) = 0;
};

// Where the wait reads the time and sleeps; injectable so the pacing can be checked
// without real time.
class WaitClock {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual ~WaitClock() = default;
    virtual TimePoint Now() = 0;
    virtual void SleepUntil(TimePoint deadline) = 0;
};

// The steady clock. Sleeps with the thread's timer slack cut to the least, so a sleep ends
// within tens of microseconds of its deadline without spinning; only a stretch too short to
// sleep is spun.
class SteadyWaitClock final : public WaitClock {
  public:
    static constexpr std::chrono::microseconds kSpinBelow{60};
    TimePoint Now() override;
    void SleepUntil(TimePoint deadline) override;
};

// Paces the passes: a wait ends iterations x kIdleIterationTime after the previous wait
// ended, so the pass period is that length whenever the pass's own work fits in it. When a
// pass overruns, the count changes, or no wait was carried, it waits the whole length from
// now instead. Zero iterations do not wait and drop the carried deadline.
class PreciseIdleWaiter final : public IdleWaiter {
  public:
    explicit PreciseIdleWaiter(WaitClock& clock);
    void WaitIterations(std::uint64_t iterations) override;

  private:
    WaitClock& clock_;
    std::uint64_t carriedIterations_ = 0;
    WaitClock::TimePoint deadline_{};
};

}  // namespace kelto
