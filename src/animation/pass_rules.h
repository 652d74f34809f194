#pragma once

#include "animation/animation_state.h"

namespace kelto {

// Start values the loop sets when it is entered; every other field keeps its value.
void EnterLoop(AnimationState& state);

// Applies the pending step request and the run flags to Position (steps 1 to 6 of a pass).
void AdvancePosition(AnimationState& state);

}  // namespace kelto
