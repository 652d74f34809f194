#include "frames/row_widening.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "frames/eight_pixels.h"

namespace kelto::frames {
namespace {

std::uint64_t Word(const std::uint8_t* bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// Which byte of a word loaded by Word the lowest set bit of `bits` falls in.
int ByteOfLowestBit(std::uint64_t bits) {
    if constexpr (std::endian::native == std::endian::little)
        return std::countr_zero(bits) / 8;
    else
        return std::countl_zero(bits) / 8;
}

std::uint64_t WithoutByte(std::uint64_t bits, int byte) {
    const int shift = std::endian::native == std::endian::little ? 8 * byte : 8 * (7 - byte);
    return bits & ~(std::uint64_t{0xff} << shift);
}

}  // namespace

void WidenRows(OneBitRows picture, OneBitRows before, int width, int height,
               std::uint32_t* pixels) {
    const int wholeBytes = width / 8;
    const int bytes = (width + 7) / 8;
    const auto widen = [&](const std::uint8_t* bits, int byte, std::uint32_t* row) {
        const std::uint32_t* eight = EightPixels(bits[byte]).data();
        // A copy of known length is two moves; only the row's last byte may be cut short.
        if (byte < wholeBytes)
            std::copy_n(eight, 8, row + byte * 8);
        else
            std::copy_n(eight, width - byte * 8, row + byte * 8);
    };
    const std::uint8_t* bits = picture.bits;
    const std::uint8_t* old = before.bits;
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = pixels + static_cast<std::ptrdiff_t>(y) * width;
        if (!old) {
            for (int byte = 0; byte < bytes; ++byte) widen(bits, byte, row);
        } else {
            // Eight bytes at a time, and within a word only the bytes that differ.
            int word = 0;
            for (; word + 8 <= bytes; word += 8)
                for (auto differ = Word(bits + word) ^ Word(old + word); differ != 0;) {
                    const int byte = ByteOfLowestBit(differ);
                    widen(bits, word + byte, row);
                    differ = WithoutByte(differ, byte);
                }
            for (int byte = word; byte < bytes; ++byte)
                if (bits[byte] != old[byte]) widen(bits, byte, row);
            old += before.stride;
        }
        bits += picture.stride;
    }
}

RowSpan RowsThatDiffer(OneBitRows picture, OneBitRows before, int width, int height) {
    if (!before.bits) return {0, height};
    const auto bytes = static_cast<std::size_t>((width + 7) / 8);
    const auto differs = [&](int y) {
        return std::memcmp(picture.bits + y * picture.stride, before.bits + y * before.stride,
                           bytes) != 0;
    };
    int top = 0;
    while (top < height && !differs(top)) ++top;
    if (top == height) return {};
    int bottom = height - 1;
    while (!differs(bottom)) --bottom;
    return {top, bottom - top + 1};
}

}  // namespace kelto::frames
