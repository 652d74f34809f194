#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "frames/mono_picture.h"

namespace kelto::frames {

// A picture block: length of the rest, the tag "lt\0\0", the bitmap file's length N, then a
// one-bit uncompressed bitmap file of N bytes, bottom row first.
inline constexpr std::size_t kBlockHeaderSize = 12;
inline constexpr std::size_t kBitmapHeadersSize = 62;  // file header, info header, 2 colours

// Bytes per stored row: whole 32-bit words.
std::size_t RowStride(int width);

// Writes the block for a picture; every pixel must be kBlack or kWhite.
std::vector<std::uint8_t> EncodePictureBlock(const MonoPicture& picture);

class PictureBlockError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A one-bit picture as a block stores it, turned top side up: rows from the top down, each
// RowStride(width) bytes, the leftmost pixel in the highest bit, a set bit white, the bits past
// the width clear.
struct PackedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rows;

    const std::uint8_t* Row(int y) const {
        return rows.data() + static_cast<std::size_t>(y) * RowStride(width);
    }
};

// Decodes one block to its rows, refusing what DecodePictureBlock refuses. No pixel is
// looked at one by one: this is what the window loads its 18 pictures with.
PackedPicture DecodePictureBlockRows(std::span<const std::uint8_t> block,
                                     std::string_view holderName);

// Decodes one block, exactly its bytes. A block that is not well formed is refused with a
// PictureBlockError whose message starts with the holder's name ("Image6: ...").
MonoPicture DecodePictureBlock(std::span<const std::uint8_t> block, std::string_view holderName);

}  // namespace kelto::frames
