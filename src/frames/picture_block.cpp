#include "frames/picture_block.h"

#include <algorithm>
#include <array>
#include <limits>

namespace kelto::frames {
namespace {

constexpr std::array<std::uint8_t, 4> kTag{0x6C, 0x74, 0x00, 0x00};
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::int32_t kPixelsPerMetre = 3780;  // 96 dots per inch
constexpr std::array<std::uint8_t, 8> kColourTable{0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00};
// Far beyond any frame, small enough that no size computed from it overflows.
constexpr std::int64_t kMaxSide = 1 << 15;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

class Reader {
  public:
    Reader(std::span<const std::uint8_t> bytes, std::string_view holder)
        : bytes_(bytes), holder_(holder) {}

    [[noreturn]] void Fail(const std::string& what) const {
        throw PictureBlockError(std::string(holder_) + ": picture block " + what);
    }
    void Need(std::size_t offset, std::size_t size) const {
        if (offset > bytes_.size() || size > bytes_.size() - offset)
            Fail("is truncated: " + std::to_string(bytes_.size()) + " bytes, field at " +
                 std::to_string(offset) + " needs " + std::to_string(size));
    }
    std::uint8_t U8(std::size_t offset) const {
        Need(offset, 1);
        return bytes_[offset];
    }
    std::uint32_t U16(std::size_t offset) const {
        Need(offset, 2);
        return bytes_[offset] | static_cast<std::uint32_t>(bytes_[offset + 1]) << 8;
    }
    std::uint32_t U32(std::size_t offset) const { return U16(offset) | U16(offset + 2) << 16; }
    std::int32_t S32(std::size_t offset) const { return static_cast<std::int32_t>(U32(offset)); }
    void Expect(std::size_t offset, std::uint32_t actual, std::uint32_t wanted,
                const char* field) const {
        if (actual != wanted)
            Fail("has " + std::string(field) + " " + std::to_string(actual) + " at offset " +
                 std::to_string(offset) + ", expected " + std::to_string(wanted));
    }
    std::size_t Size() const { return bytes_.size(); }

  private:
    std::span<const std::uint8_t> bytes_;
    std::string_view holder_;
};

}  // namespace

std::size_t RowStride(int width) {
    return (static_cast<std::size_t>(width) + 31) / 32 * 4;
}

std::vector<std::uint8_t> EncodePictureBlock(const MonoPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0 || picture.width > kMaxSide ||
        picture.height > kMaxSide ||
        picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height)
        throw std::invalid_argument("picture cannot be written as a picture block");
    const std::size_t stride = RowStride(picture.width);
    const auto rowsSize = static_cast<std::uint32_t>(stride * picture.height);
    const auto fileSize = static_cast<std::uint32_t>(kBitmapHeadersSize + rowsSize);

    std::vector<std::uint8_t> out;
    out.reserve(kBlockHeaderSize + fileSize);
    Put32(out, fileSize + 8);
    out.insert(out.end(), kTag.begin(), kTag.end());
    Put32(out, fileSize);

    out.push_back('B');
    out.push_back('M');
    Put32(out, fileSize);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, kBitmapHeadersSize);
    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(picture.width));
    Put32(out, static_cast<std::uint32_t>(picture.height));
    Put16(out, 1);  // planes
    Put16(out, 1);  // bits per pixel
    Put32(out, 0);  // no compression
    Put32(out, rowsSize);
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, 0);  // whole colour table used
    Put32(out, 0);
    out.insert(out.end(), kColourTable.begin(), kColourTable.end());

    for (int y = picture.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(stride, 0);
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t colour = picture.At(x, y);
            if (colour != kBlack && colour != kWhite)
                throw std::invalid_argument("picture has a colour beyond black and white");
            if (colour == kWhite) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

PackedPicture DecodePictureBlockRows(std::span<const std::uint8_t> block,
                                     std::string_view holderName) {
    const Reader in(block, holderName);
    in.Need(0, kBlockHeaderSize);
    const std::uint32_t rest = in.U32(0);
    if (static_cast<std::uint64_t>(rest) + 4 != in.Size())
        in.Fail("length " + std::to_string(rest) + " disagrees with its size of " +
                std::to_string(in.Size()) + " bytes");
    for (std::size_t i = 0; i < kTag.size(); ++i)
        if (in.U8(4 + i) != kTag[i]) in.Fail("has a wrong tag (not \"lt\" and two zero bytes)");
    const std::uint32_t fileSize = in.U32(8);
    in.Expect(8, fileSize, rest - 8, "bitmap length");

    // The bitmap file, its offsets counted from b.
    const std::size_t b = kBlockHeaderSize;
    in.Need(b, kBitmapHeadersSize);
    if (in.U8(b) != 'B' || in.U8(b + 1) != 'M') in.Fail("has no \"BM\" bitmap signature");
    in.Expect(b + 2, in.U32(b + 2), fileSize, "bitmap file size");
    in.Expect(b + 10, in.U32(b + 10), kBitmapHeadersSize, "pixel offset");
    in.Expect(b + 14, in.U32(b + 14), kInfoHeaderSize, "information header size");
    const std::int32_t width = in.S32(b + 18);
    const std::int32_t height = in.S32(b + 22);
    if (width <= 0 || width > kMaxSide) in.Fail("has an unusable width " + std::to_string(width));
    if (height <= 0 || height > kMaxSide)
        in.Fail("has height " + std::to_string(height) + ", not a positive bottom-up height");
    in.Expect(b + 26, in.U16(b + 26), 1, "colour planes");
    in.Expect(b + 28, in.U16(b + 28), 1, "bits per pixel");
    in.Expect(b + 30, in.U32(b + 30), 0, "compression");
    const std::size_t stride = RowStride(width);
    const std::uint64_t rowsSize = static_cast<std::uint64_t>(stride) * height;
    const std::uint32_t declaredRows = in.U32(b + 34);
    if (declaredRows != 0)
        in.Expect(b + 34, declaredRows, static_cast<std::uint32_t>(rowsSize), "pixel rows size");
    const std::uint32_t coloursUsed = in.U32(b + 46);
    if (coloursUsed != 0) in.Expect(b + 46, coloursUsed, 2, "colours used");
    for (std::size_t i = 0; i < kColourTable.size(); ++i)
        if (in.U8(b + 54 + i) != kColourTable[i]) in.Fail("colour table is not black then white");
    if (kBitmapHeadersSize + rowsSize != fileSize)
        in.Fail("rows of " + std::to_string(rowsSize) + " bytes do not end the " +
                std::to_string(fileSize) + "-byte bitmap file");
    in.Need(b + kBitmapHeadersSize, static_cast<std::size_t>(rowsSize));

    PackedPicture picture{width, height,
                          std::vector<std::uint8_t>(static_cast<std::size_t>(rowsSize))};
    // Fill bits may be anything in a block; they stay out of the picture.
    const std::size_t wholeBytes = static_cast<std::size_t>(width) / 8;
    const int restBits = width % 8;
    const auto restMask = static_cast<std::uint8_t>(0xFF00 >> restBits);
    for (std::int32_t r = 0; r < height; ++r) {
        const std::uint8_t* row =
            block.data() + b + kBitmapHeadersSize + static_cast<std::size_t>(r) * stride;
        std::uint8_t* out = picture.rows.data() + static_cast<std::size_t>(height - 1 - r) * stride;
        std::copy_n(row, wholeBytes, out);
        if (restBits) out[wholeBytes] = row[wholeBytes] & restMask;
    }
    return picture;
}

MonoPicture DecodePictureBlock(std::span<const std::uint8_t> block, std::string_view holderName) {
    const PackedPicture packed = DecodePictureBlockRows(block, holderName);
    MonoPicture picture(packed.width, packed.height);
    for (int y = 0; y < packed.height; ++y) {
        const std::uint8_t* row = packed.Row(y);
        for (int x = 0; x < packed.width; ++x)
            picture.Set(x, y, static_cast<std::uint8_t>((row[x / 8] >> (7 - x % 8)) & 1));
    }
    return picture;
}

}  // namespace kelto::frames
