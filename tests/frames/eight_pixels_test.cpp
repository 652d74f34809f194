#include "frames/eight_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace kelto::frames {
namespace {

// Every path that widens rows (the toolkit's painting and the Wayland buffers) reads this table:
// a wrong bit order mirrors each group of eight pixels, a wrong colour inverts the picture, and
// the toolkit's 32-bit pictures need the top byte set.
TEST(EightPixels, MostSignificantBitIsLeftmostSetBitsOpaqueWhiteClearOnesOpaqueBlack) {
    for (int value = 0; value < 256; ++value) {
        const auto& pixels = EightPixels(static_cast<std::uint8_t>(value));
        for (int bit = 0; bit < 8; ++bit)
            EXPECT_EQ(pixels[bit], (value >> (7 - bit)) & 1 ? 0xffffffffu : 0xff000000u)
                << "byte " << value << ", pixel " << bit;
    }
}

}  // namespace
}  // namespace kelto::frames
