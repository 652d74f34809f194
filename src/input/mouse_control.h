#pragma once

#include "animation/animation_state.h"
#include "input/program_end.h"

namespace kelto {

inline constexpr double kMouseFactor = 70;
inline constexpr double kSteeringDelayCount = 80000;

// Normal mode: the pace follows the pointer. Steering mode: each move asks for one step,
// forward when the pointer went down or level, back when it went up. Button and Shift
// are passed on by the window but play no part.
void Picture1_MouseMove(AnimationState& state, int Button, int Shift, float X, float Y,
                        ProgramEnd& end);

// Toggles mouse-steering mode, saving the run state on the way in and restoring it on
// the way out.
void Picture1_Click(AnimationState& state);

void Picture1_DblClick(ProgramEnd& end);

}  // namespace kelto
