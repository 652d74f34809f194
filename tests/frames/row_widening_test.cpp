#include "frames/row_widening.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "frames/eight_pixels.h"

namespace kelto::frames {
namespace {

// A one-bit picture with rows `stride` bytes apart, as the holders are: 480 and 481 pixels wide
// give strides of 60 and 64 bytes.
struct Bits {
    int stride;
    std::vector<std::uint8_t> bytes;

    Bits(int stride, int height)
        : stride(stride), bytes(static_cast<std::size_t>(stride) * height) {}
    OneBitRows Rows() const { return {bytes.data(), stride}; }
    bool At(int x, int y) const { return bytes[y * stride + x / 8] & (0x80 >> (x % 8)); }
    void Flip(int x, int y) { bytes[y * stride + x / 8] ^= 0x80 >> (x % 8); }
};

constexpr int kShownWidth = 479;
constexpr int kHeight = 480;
constexpr std::uint32_t kUntouched = 0x12345678u;

Bits Random(int stride, std::mt19937& random) {
    Bits bits(stride, kHeight);
    for (auto& byte : bits.bytes) byte = static_cast<std::uint8_t>(random());
    return bits;
}

// The pixels every shown pixel must have, one by one; one more pixel at the end, which must stay.
void ExpectShows(const std::vector<std::uint32_t>& pixels, const Bits& picture) {
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(kShownWidth) * kHeight + 1);
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kShownWidth; ++x) {
            const std::uint32_t expected = picture.At(x, y) ? kWhitePixel : kBlackPixel;
            if (pixels[y * kShownWidth + x] != expected && ++wrong <= 3)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ")";
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(pixels.back(), kUntouched) << "written past the last row";
}

std::vector<std::uint32_t> Canvas() {
    return std::vector<std::uint32_t>(static_cast<std::size_t>(kShownWidth) * kHeight + 1,
                                      kUntouched);
}

TEST(WidenRows, WholePictureCutOffAtTheShownWidth) {
    std::mt19937 random(1);
    for (const int stride : {60, 64}) {
        const Bits picture = Random(stride, random);
        auto pixels = Canvas();
        WidenRows(picture.Rows(), {}, kShownWidth, kHeight, pixels.data());
        ExpectShows(pixels, picture);
    }
}

// Only what differs is widened: the pixels must end up as the new picture whole, wherever the
// differences fall (word edges, the row's last and cut-off byte) and whatever the strides.
TEST(WidenRows, OnlyTheDifferencesLeaveThePixelsAsTheNewPicture) {
    std::mt19937 random(2);
    for (const int fromStride : {60, 64})
        for (const int toStride : {60, 64}) {
            const Bits from = Random(fromStride, random);
            Bits to(toStride, kHeight);
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kShownWidth; ++x)
                    if (from.At(x, y) != to.At(x, y)) to.Flip(x, y);
            // Columns at the edges of bytes and of eight-byte words, the last shown one, and
            // random ones.
            for (const int x : {0, 7, 8, 63, 64, 65, 471, 472, 478}) to.Flip(x, x % kHeight);
            for (int i = 0; i < 2000; ++i) to.Flip(random() % kShownWidth, random() % kHeight);

            auto pixels = Canvas();
            WidenRows(from.Rows(), {}, kShownWidth, kHeight, pixels.data());
            WidenRows(to.Rows(), from.Rows(), kShownWidth, kHeight, pixels.data());
            ExpectShows(pixels, to);
        }
}

TEST(WidenRows, TheSamePictureLeavesEveryPixel) {
    std::mt19937 random(3);
    const Bits picture = Random(60, random);
    auto pixels = Canvas();
    WidenRows(picture.Rows(), picture.Rows(), kShownWidth, kHeight, pixels.data());
    EXPECT_EQ(static_cast<std::size_t>(std::count(pixels.begin(), pixels.end(), kUntouched)),
              pixels.size());
}

TEST(RowsThatDiffer, FromTheFirstDifferingRowToTheLast) {
    std::mt19937 random(4);
    const Bits from = Random(64, random);
    Bits to(60, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < 480; ++x)
            if (from.At(x, y) != to.At(x, y)) to.Flip(x, y);

    const RowSpan same = RowsThatDiffer(to.Rows(), from.Rows(), kShownWidth, kHeight);
    EXPECT_EQ(same.count, 0);
    to.Flip(3, 17);
    to.Flip(478, 402);
    const RowSpan some = RowsThatDiffer(to.Rows(), from.Rows(), kShownWidth, kHeight);
    EXPECT_EQ(some.top, 17);
    EXPECT_EQ(some.count, 402 - 17 + 1);
    to.Flip(0, 0);
    to.Flip(0, kHeight - 1);
    const RowSpan edges = RowsThatDiffer(to.Rows(), from.Rows(), kShownWidth, kHeight);
    EXPECT_EQ(edges.top, 0);
    EXPECT_EQ(edges.count, kHeight);
}

TEST(RowsThatDiffer, EveryRowWhenNothingWasShown) {
    std::mt19937 random(5);
    const Bits picture = Random(60, random);
    const RowSpan all = RowsThatDiffer(picture.Rows(), {}, kShownWidth, kHeight);
    EXPECT_EQ(all.top, 0);
    EXPECT_EQ(all.count, kHeight);
}

}  // namespace
}  // namespace kelto::frames
