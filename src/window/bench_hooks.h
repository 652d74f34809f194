#pragma once

#include "animation/animation_state.h"

namespace kelto::bench {

// Benchmark builds only. Runs each time a frame is shown: pins DelayCount to
// KELTO_BENCH_DELAY when set, and with KELTO_BENCH_PASSES set it times blocks of passes,
// prints the mean period of each block in nanoseconds and ends the process.
void OnShowFrame(AnimationState& state);

}  // namespace kelto::bench
