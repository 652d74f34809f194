#pragma once

#include "animation/animation_state.h"
#include "input/program_end.h"

namespace kelto {

inline constexpr char16_t kEscape = 27;

// One typed UTF-16 code unit: ESC quits, "- + , / * ." write a step request; others do
// nothing.
void Picture1_KeyPress(AnimationState& state, char16_t codeUnit, ProgramEnd& end);

}  // namespace kelto
