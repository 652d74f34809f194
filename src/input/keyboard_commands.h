#pragma once

#include <cstdint>

#include "animation/animation_state.h"
#include "input/program_end.h"

namespace kelto {

inline constexpr std::uint16_t kEscape = 27;

// One typed character: ESC quits, "- + , / * ." write a step request; others do nothing.
void Picture1_KeyPress(AnimationState& state, std::uint16_t KeyAscii, ProgramEnd& end);

}  // namespace kelto
