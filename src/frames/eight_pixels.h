#pragma once

#include <array>
#include <cstdint>

namespace kelto::frames {

// The display pixels of one-bit rows: a set bit white, a clear one black, 32 bits a pixel.
inline constexpr std::uint32_t kWhitePixel = 0xffffffffu;
inline constexpr std::uint32_t kBlackPixel = 0xff000000u;

// A byte of a one-bit row as its eight display pixels, the most significant bit leftmost. One
// table look-up instead of eight tests: the pictures stay at one bit a pixel, and are widened
// only where they are shown.
inline const std::array<std::uint32_t, 8>& EightPixels(std::uint8_t byte) {
    static constexpr auto kTable = [] {
        std::array<std::array<std::uint32_t, 8>, 256> table{};
        for (int value = 0; value < 256; ++value)
            for (int bit = 0; bit < 8; ++bit)
                table[value][bit] = value & (0x80 >> bit) ? kWhitePixel : kBlackPixel;
        return table;
    }();
    return kTable[byte];
}

}  // namespace kelto::frames
