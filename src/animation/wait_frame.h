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

// Spends a number of idle iterations. Injectable so the loop can be run without real time.
class IdleWaiter {
  public:
    virtual ~IdleWaiter() = default;
    virtual void WaitIterations(std::uint64_t iterations) = 0;
};

// Waits iterations x kIdleIterationTime of wall time without burning a core: it sleeps to
// shortly before the deadline and spins only the last stretch, where sleep overshoots.
class PreciseIdleWaiter final : public IdleWaiter {
  public:
    static constexpr std::chrono::microseconds kSpinStretch{200};
    void WaitIterations(std::uint64_t iterations) override;
};

}  // namespace kelto
