#pragma once

#include "animation/animation_state.h"

namespace kelto {

// Start values the loop sets when it is entered; every other field keeps its value.
void EnterLoop(AnimationState& state);

// Applies the pending step request and the run flags to Position: the first thing every pass
// does, before it shows the frame at the new Position.
void AdvancePosition(AnimationState& state);

}  // namespace kelto
