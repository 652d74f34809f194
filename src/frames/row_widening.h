#pragma once

#include <cstddef>
#include <cstdint>

namespace kelto::frames {

// The rows of a one-bit picture in memory, the most significant bit leftmost, `stride` bytes
// apart. No bits: no picture.
struct OneBitRows {
    const std::uint8_t* bits = nullptr;
    std::ptrdiff_t stride = 0;
};

// The first `width` x `height` of `picture` as display pixels (see EightPixels), rows `width`
// pixels apart. Where `before` is the picture the pixels already show (at least that large),
// only the bytes that differ from it are widened; frames a step apart differ in one byte of
// fourteen.
void WidenRows(OneBitRows picture, OneBitRows before, int width, int height, std::uint32_t* pixels);

// The rows, of the first `width` x `height`, from the first in which the two pictures differ to
// the last: `count` 0 where none differs, all of them where `before` is no picture.
struct RowSpan {
    int top = 0;
    int count = 0;
};
RowSpan RowsThatDiffer(OneBitRows picture, OneBitRows before, int width, int height);

}  // namespace kelto::frames
