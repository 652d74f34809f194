#pragma once

#include <cstdint>
#include <span>

namespace kelto::frames {

// The picture block that holder Image<holderNumber> (1 to 18) carries, as built into the program.
std::span<const std::uint8_t> HolderBlock(int holderNumber);

}  // namespace kelto::frames
