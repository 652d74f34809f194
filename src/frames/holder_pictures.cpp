#include "frames/holder_pictures.h"

#include <string>

#include "frames/holder_blocks.h"
#include "frames/picture_block.h"

namespace kelto::frames {

MonoPicture HolderPicture(int holderNumber) {
    const std::span<const std::uint8_t> block = HolderBlock(holderNumber);
    return DecodePictureBlock(block, "Image" + std::to_string(holderNumber));
}

PackedPicture HolderPictureRows(int holderNumber) {
    return DecodePictureBlockRows(HolderBlock(holderNumber),
                                  "Image" + std::to_string(holderNumber));
}

}  // namespace kelto::frames
