#include "frames/holder_blocks.h"

#include <stdexcept>
#include <string>

#include "frames/holder_pictures.h"

namespace kelto::frames {

// Written at build time by the frame generator.
extern const std::span<const std::uint8_t> kHolderBlocks[kHolderCount];

std::span<const std::uint8_t> HolderBlock(int holderNumber) {
    if (holderNumber < 1 || holderNumber > kHolderCount)
        throw std::out_of_range("no frame holder Image" + std::to_string(holderNumber));
    return kHolderBlocks[holderNumber - 1];
}

}  // namespace kelto::frames
