// Feeds arbitrary bytes to the picture block decoder: it must refuse or decode, never crash or
// read outside the bytes it is given.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "frames/picture_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size copy so the address sanitizer sees any read past the end.
    const std::vector<std::uint8_t> block(data, data + size);
    try {
        const kelto::frames::MonoPicture picture =
            kelto::frames::DecodePictureBlock(block, "Image1");
        const std::size_t pixels = static_cast<std::size_t>(picture.width) * picture.height;
        if (picture.width <= 0 || picture.height <= 0 || picture.pixels.size() != pixels)
            std::abort();
        for (const std::uint8_t px : picture.pixels)
            if (px > 1) std::abort();
    } catch (const kelto::frames::PictureBlockError&) {
    }
    return 0;
}
