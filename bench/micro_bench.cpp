// Micro-benchmarks of the plain C++ core: decoding the 18 holder pictures and one pass of
// the step rules.
#include <benchmark/benchmark.h>

#include "animation/animation_state.h"
#include "animation/pass_rules.h"
#include "animation/wait_frame.h"
#include "frames/holder_pictures.h"

namespace {

void BM_DecodeAllHolders(benchmark::State& state) {
    for (auto _ : state)
        for (int holder = 1; holder <= kelto::frames::kHolderCount; ++holder)
            benchmark::DoNotOptimize(kelto::frames::HolderPicture(holder));
}
BENCHMARK(BM_DecodeAllHolders)->Unit(benchmark::kMillisecond);

// A mix of every request and both run directions, so no branch is always taken.
void BM_AdvancePosition(benchmark::State& state) {
    constexpr std::int16_t kRequests[] = {1, 3, 1, 2, 0, -1, 1, -2, 0, 2, 3, -2};
    kelto::AnimationState s;
    kelto::EnterLoop(s);
    std::size_t next = 0;
    for (auto _ : state) {
        if (s.StepCommand == kelto::step::kRunning || s.StepCommand == kelto::step::kStopped)
            s.StepCommand = kRequests[next++ % std::size(kRequests)];
        if (s.StepCommand == 0) s.RunForward = s.RunBackward = 0;
        kelto::AdvancePosition(s);
        benchmark::DoNotOptimize(s.Position);
    }
}
BENCHMARK(BM_AdvancePosition);

void BM_IdleIterations(benchmark::State& state) {
    double delay = -1.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kelto::IdleIterations(delay));
        delay = delay > 2e6 ? -1.5 : delay + 19500.25;
    }
}
BENCHMARK(BM_IdleIterations);

}  // namespace

BENCHMARK_MAIN();
