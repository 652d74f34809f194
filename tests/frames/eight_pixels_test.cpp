#include "frames/eight_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace kelto::frames {
namespace {

// Every path that widens rows (the toolkit's painting and the Wayland buffers) reads this table:
// a wrong bit order mirrors each group of eight pixels, a wrong colour inverts the picture.
TEST(EightPixels, MostSignificantBitIsLeftmostAndSetBitsAreWhite) {
    for (int value = 0; value < 256; ++value) {
        const auto& pixels = EightPixels(static_cast<std::uint8_t>(value));
        for (int bit = 0; bit < 8; ++bit)
            EXPECT_EQ(pixels[bit], (value >> (7 - bit)) & 1 ? kWhitePixel : kBlackPixel)
                << "byte " << value << ", pixel " << bit;
    }
}

TEST(EightPixels, ColoursAreOpaqueBlackAndWhiteInEveryChannel) {
    EXPECT_EQ(EightPixels(0xff)[0] & 0x00ffffffu, 0x00ffffffu);
    EXPECT_EQ(EightPixels(0x00)[7] & 0x00ffffffu, 0u);
    EXPECT_EQ(kWhitePixel >> 24, 0xffu);
    EXPECT_EQ(kBlackPixel >> 24, 0xffu);
}

}  // namespace
}  // namespace kelto::frames
