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

// Decodes one block, exactly its bytes. A block that is not well formed is refused with a
// PictureBlockError whose message starts with the holder's name ("Image6: ...").
MonoPicture DecodePictureBlock(std::span<const std::uint8_t> block, std::string_view holderName);

}  // namespace kelto::frames
