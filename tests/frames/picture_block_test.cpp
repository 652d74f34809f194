#include "frames/picture_block.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "frames/holder_blocks.h"

namespace kelto::frames {
namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint32_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8;
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

MonoPicture Noise(int w, int h, unsigned seed) {
    MonoPicture p(w, h);
    std::mt19937 random(seed);
    for (auto& px : p.pixels) px = static_cast<std::uint8_t>(random() & 1);
    return p;
}

std::vector<std::uint8_t> RealBlock(int holder) {
    const auto span = HolderBlock(holder);
    return {span.begin(), span.end()};
}

TEST(PictureBlockEncode, WritesEveryHeaderField) {
    for (std::uint32_t w : {480, 481}) {
        const auto b = EncodePictureBlock(MonoPicture(static_cast<int>(w), 480));
        const std::uint32_t rows = w == 480 ? 28800 : 30720;
        const std::uint32_t n = 62 + rows;
        SCOPED_TRACE(w);
        ASSERT_EQ(b.size(), 12 + n);
        EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 4, b.begin() + 8),
                  (std::vector<std::uint8_t>{0x6C, 0x74, 0, 0}));
        const std::size_t f = 12;
        EXPECT_EQ(b[f], 'B');
        EXPECT_EQ(b[f + 1], 'M');
        // Every other field as offset, size in bytes and value, in the order they lie: the
        // block's two lengths, the file header, the information header and the colour table.
        const std::tuple<std::size_t, int, std::uint32_t> fields[] = {
            {0, 4, n + 8},     {8, 4, n},         {f + 2, 4, n},          {f + 6, 2, 0},
            {f + 8, 2, 0},     {f + 10, 4, 62},   {f + 14, 4, 40},        {f + 18, 4, w},
            {f + 22, 4, 480},  {f + 26, 2, 1},    {f + 28, 2, 1},         {f + 30, 4, 0},
            {f + 34, 4, rows}, {f + 38, 4, 3780}, {f + 42, 4, 3780},      {f + 46, 4, 0},
            {f + 50, 4, 0},    {f + 54, 4, 0},    {f + 58, 4, 0x00FFFFFF}};
        for (const auto& [at, size, value] : fields)
            EXPECT_EQ(size == 2 ? U16(b, at) : U32(b, at), value) << "field at " << at;
    }
}

TEST(PictureBlockEncode, StoresBottomRowFirstLeftmostPixelInTopBitWhiteAsOne) {
    MonoPicture p(10, 3);  // all white
    for (auto& px : p.pixels) px = kBlack;
    p.Set(0, 2, kWhite);  // bottom row, leftmost
    p.Set(9, 2, kWhite);  // bottom row, last pixel: second byte's bit 6
    p.Set(3, 0, kWhite);  // top row
    const auto b = EncodePictureBlock(p);
    const std::size_t rows = 12 + 62;
    ASSERT_EQ(b.size(), rows + 3 * 4);  // 10 pixels still take a whole 32-bit word
    EXPECT_EQ(b[rows + 0], 0x80);       // first stored row is the bottom one
    EXPECT_EQ(b[rows + 1], 0x40);
    EXPECT_EQ(b[rows + 2], 0x00);  // fill bits are zero
    EXPECT_EQ(b[rows + 3], 0x00);
    EXPECT_EQ(b[rows + 4], 0x00);  // middle row: all black
    EXPECT_EQ(b[rows + 8], 0x10);  // last stored row is the top one
}

TEST(PictureBlockDecode, RoundTripsPicturesOfEveryRowFill) {
    for (int width : {1, 7, 8, 31, 32, 33, 480, 481}) {
        const MonoPicture p = Noise(width, 5, static_cast<unsigned>(width));
        EXPECT_EQ(DecodePictureBlock(EncodePictureBlock(p), "Image1"), p) << width;
    }
}

// The rows the window loads must be the pixels the decoder reads, fill bits left clear
// whatever a block stores in them.
TEST(PictureBlockDecode, RowsAreThePixelsTopRowFirstWithClearFill) {
    for (int width : {1, 7, 8, 9, 31, 32, 33, 480, 481}) {
        SCOPED_TRACE(width);
        const MonoPicture p = Noise(width, 6, static_cast<unsigned>(width) + 99);
        auto block = EncodePictureBlock(p);
        const std::size_t stride = RowStride(width);
        for (std::size_t r = 0; r < 6; ++r)  // set every fill bit of every stored row
            for (int x = width; x < static_cast<int>(stride * 8); ++x)
                block[12 + 62 + r * stride + static_cast<std::size_t>(x / 8)] |=
                    static_cast<std::uint8_t>(0x80 >> (x % 8));
        EXPECT_EQ(DecodePictureBlock(block, "Image1"), p);
        const PackedPicture rows = DecodePictureBlockRows(block, "Image1");
        ASSERT_EQ(rows.width, width);
        ASSERT_EQ(rows.height, 6);
        ASSERT_EQ(rows.rows.size(), stride * 6);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < static_cast<int>(stride * 8); ++x) {
                const int bit = rows.Row(y)[x / 8] >> (7 - x % 8) & 1;
                ASSERT_EQ(bit, x < width ? p.At(x, y) : 0) << x << "," << y;
            }
    }
}

TEST(PictureBlockDecode, RowsRefuseWhatThePixelDecoderRefuses) {
    auto bad = RealBlock(3);
    bad[12 + 28] = 4;  // four bits a pixel
    EXPECT_THROW(DecodePictureBlockRows(bad, "Image3"), PictureBlockError);
    bad.pop_back();
    EXPECT_THROW(DecodePictureBlockRows(bad, "Image3"), PictureBlockError);
}

TEST(PictureBlockDecode, ReadsBitsAsColourIndicesBottomUp) {
    // Hand-written 8 by 2 block: bottom row 0xF0 (four white, four black), top row 0x01.
    auto b = EncodePictureBlock(MonoPicture(8, 2));
    b[12 + 62] = 0xF0;
    b[12 + 66] = 0x01;
    const MonoPicture p = DecodePictureBlock(b, "Image1");
    ASSERT_EQ(p.width, 8);
    ASSERT_EQ(p.height, 2);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(p.At(x, 1), x < 4 ? kWhite : kBlack) << x;
        EXPECT_EQ(p.At(x, 0), x == 7 ? kWhite : kBlack) << x;
    }
}

TEST(PictureBlockDecode, WideFrameKeepsItsWhiteColumnAndZeroFill) {
    const auto b = RealBlock(6);
    ASSERT_EQ(b.size(), 30794u);
    const MonoPicture p = DecodePictureBlock(b, "Image6");
    ASSERT_EQ(p.width, 481);
    ASSERT_EQ(p.height, 480);
    for (int y = 0; y < 480; ++y) ASSERT_EQ(p.At(480, y), kWhite) << y;
    // Each 64-byte row: bit 7 of byte 60 is column 480 (white), the 31 bits after it are 0.
    for (int r = 0; r < 480; ++r) {
        const std::size_t row = 12 + 62 + static_cast<std::size_t>(r) * 64;
        ASSERT_EQ(b[row + 60], 0x80) << r;
        ASSERT_EQ(b[row + 61] | b[row + 62] | b[row + 63], 0) << r;
    }
    // The wide frame's first 480 columns follow the same drawing rules as its neighbours.
    EXPECT_EQ(p.At(0, 2), kBlack);
}

struct Damage {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> apply;
    const char* expected;  // part of the message
};

TEST(PictureBlockDecode, RefusesEveryKindOfBadBlockNamingTheHolder) {
    const std::size_t f = 12;
    const std::vector<Damage> damages = {
        {"empty", [](auto& b) { b.clear(); }, "truncated"},
        {"shorter than the block header", [](auto& b) { b.resize(11); }, "truncated"},
        {"last byte missing", [](auto& b) { b.pop_back(); }, "disagrees"},
        {"a byte too many", [](auto& b) { b.push_back(0xFF); }, "disagrees"},
        {"only the headers, lengths adjusted",
         [&](auto& b) {
             b.resize(12 + 62);
             Put32(b, 0, 62 + 8);
             Put32(b, 8, 62);
             Put32(b, f + 2, 62);
         },
         "rows"},
        {"wrong tag", [](auto& b) { b[4] = 'L'; }, "tag"},
        {"tag without its zero bytes", [](auto& b) { b[7] = 1; }, "tag"},
        {"rest length off by one", [](auto& b) { Put32(b, 0, U32(b, 0) + 1); }, "disagrees"},
        {"bitmap length disagrees", [](auto& b) { Put32(b, 8, U32(b, 8) - 4); }, "bitmap length"},
        {"file size disagrees", [&](auto& b) { Put32(b, f + 2, 1000); }, "file size"},
        {"signature", [&](auto& b) { b[f + 1] = 'A'; }, "BM"},
        {"pixel offset past the end", [&](auto& b) { Put32(b, f + 10, 1u << 30); }, "pixel offset"},
        {"pixel offset into the table", [&](auto& b) { Put32(b, f + 10, 58); }, "pixel offset"},
        {"information header size", [&](auto& b) { Put32(b, f + 14, 12); }, "information header"},
        {"zero width", [&](auto& b) { Put32(b, f + 18, 0); }, "width"},
        {"negative width", [&](auto& b) { Put32(b, f + 18, static_cast<std::uint32_t>(-480)); },
         "width"},
        {"width whose rows run past the end", [&](auto& b) { Put32(b, f + 18, 800); }, "rows"},
        {"huge width", [&](auto& b) { Put32(b, f + 18, 0x7FFFFFFF); }, "width"},
        {"negative (top-down) height",
         [&](auto& b) { Put32(b, f + 22, static_cast<std::uint32_t>(-480)); }, "height"},
        {"zero height", [&](auto& b) { Put32(b, f + 22, 0); }, "height"},
        {"height whose rows run past the end", [&](auto& b) { Put32(b, f + 22, 481); }, "rows"},
        {"two planes", [&](auto& b) { b[f + 26] = 2; }, "planes"},
        {"4 bits per pixel", [&](auto& b) { b[f + 28] = 4; }, "bits per pixel"},
        {"8 bits per pixel", [&](auto& b) { b[f + 28] = 8; }, "bits per pixel"},
        {"run-length compressed", [&](auto& b) { Put32(b, f + 30, 1); }, "compression"},
        {"bitfields", [&](auto& b) { Put32(b, f + 30, 3); }, "compression"},
        {"pixel rows size disagrees", [&](auto& b) { Put32(b, f + 34, 28801); }, "rows size"},
        {"more colours than the table", [&](auto& b) { Put32(b, f + 46, 16); }, "colours used"},
        {"colours swapped",
         [&](auto& b) {
             Put32(b, f + 54, 0x00FFFFFF);
             Put32(b, f + 58, 0);
         },
         "colour table"},
    };
    const auto good = RealBlock(7);
    ASSERT_NO_THROW(DecodePictureBlock(good, "Image7"));
    for (const Damage& d : damages) {
        auto bad = good;
        d.apply(bad);
        try {
            DecodePictureBlock(bad, "Image7");
            ADD_FAILURE() << "accepted a block with " << d.name;
        } catch (const PictureBlockError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind("Image7: ", 0), 0u) << d.name << ": " << message;
            EXPECT_NE(message.find(d.expected), std::string::npos) << d.name << ": " << message;
        }
    }
}

TEST(PictureBlockDecode, AcceptsZeroRowsSizeAndColourCountAsTheDefaults) {
    auto b = RealBlock(1);
    Put32(b, 12 + 34, 0);
    Put32(b, 12 + 46, 2);
    EXPECT_EQ(DecodePictureBlock(b, "Image1"), DecodePictureBlock(HolderBlock(1), "Image1"));
}

TEST(PictureBlockDecode, NeverReadsPastATruncatedBlock) {
    // Every prefix of a real block is refused; with the sanitizers on, any read past the copy's
    // end would show.
    const auto good = RealBlock(2);
    for (std::size_t size = 0; size < good.size(); size += (size < 200 ? 1 : 997)) {
        const std::vector<std::uint8_t> prefix(good.begin(),
                                               good.begin() + static_cast<long>(size));
        EXPECT_THROW(DecodePictureBlock(prefix, "Image2"), PictureBlockError) << size;
    }
}

}  // namespace
}  // namespace kelto::frames
