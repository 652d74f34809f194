// The viewer as the product builds it, with a waiter that times the passes.
//   KELTO_BENCH_DELAY=D      every pass waits as if DelayCount were D, whatever the input
//   KELTO_BENCH_PASSES=N     time blocks of N passes, print "block <b> <mean ns>" for each and end
//   KELTO_BENCH_BLOCKS=B     number of blocks (1)
//   KELTO_BENCH_WARMUP=W     passes left untimed first (20)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "animation/wait_frame.h"
#include "app/start_up.h"
#include "desktop/program_end_now.h"

namespace {

long EnvLong(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text ? std::strtol(text, nullptr, 10) : fallback;
}

// Each pass calls the waiter once, right after it shows its frame: the time between two
// calls is one pass period.
class StampingWaiter final : public kelto::IdleWaiter {
  public:
    StampingWaiter()
        : passes_(EnvLong("KELTO_BENCH_PASSES", 0)),
          blocks_(EnvLong("KELTO_BENCH_BLOCKS", 1)),
          warmup_(EnvLong("KELTO_BENCH_WARMUP", 20)) {
        if (const char* text = std::getenv("KELTO_BENCH_DELAY"))
            pinned_ = kelto::IdleIterations(std::strtod(text, nullptr));
        if (passes_ > 0) stamps_.reserve(Needed());
    }

    void WaitIterations(std::uint64_t iterations) override {
        if (passes_ > 0) {
            stamps_.push_back(Clock::now());
            if (stamps_.size() == Needed()) Report();
        }
        precise_.WaitIterations(pinned_.value_or(iterations));
    }

  private:
    using Clock = std::chrono::steady_clock;

    std::size_t Needed() const { return static_cast<std::size_t>(warmup_ + passes_ * blocks_ + 1); }

    [[noreturn]] void Report() const {
        for (long b = 0; b < blocks_; ++b) {
            const auto first = static_cast<std::size_t>(warmup_ + b * passes_);
            const auto span = stamps_[first + static_cast<std::size_t>(passes_)] - stamps_[first];
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(span).count();
            std::printf("block %ld %lld\n", b, static_cast<long long>(ns / passes_));
        }
        std::fflush(stdout);
        std::_Exit(EXIT_SUCCESS);
    }

    const long passes_;
    const long blocks_;
    const long warmup_;
    std::optional<std::uint64_t> pinned_;
    std::vector<Clock::time_point> stamps_;
    kelto::SteadyWaitClock clock_;
    kelto::PreciseIdleWaiter precise_{clock_};
};

}  // namespace

int main() {
    kelto::ProgramEndNow end;
    StampingWaiter waiter;
    return kelto::RunViewer(end, waiter);
}
