#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "artwork/frame_drawing.h"
#include "frames/holder_blocks.h"
#include "frames/holder_pictures.h"
#include "frames/picture_block.h"

namespace kelto::frames {
namespace {

TEST(EmbeddedBlocks, AreWhatTheGeneratorWrites) {
    const artwork::FrameArtist artist;
    std::size_t total = 0;
    for (int k = 1; k <= kHolderCount; ++k) {
        const auto block = HolderBlock(k);
        const std::vector<std::uint8_t> drawn = EncodePictureBlock(artist.Draw(k - 1));
        EXPECT_TRUE(std::equal(block.begin(), block.end(), drawn.begin(), drawn.end())) << k;
        EXPECT_EQ(block.size(), k == 6 ? 30794u : 28874u) << k;
        total += block.size();
    }
    EXPECT_EQ(total, 521652u);
}

TEST(EmbeddedBlocks, EachLiesWholeInTheExecutable) {
    std::ifstream exe("/proc/self/exe", std::ios::binary);
    ASSERT_TRUE(exe);
    const std::vector<char> image((std::istreambuf_iterator<char>(exe)), {});
    for (int k = 1; k <= kHolderCount; ++k) {
        const auto block = HolderBlock(k);
        const auto found = std::search(
            image.begin(), image.end(),
            std::boyer_moore_searcher(reinterpret_cast<const char*>(block.data()),
                                      reinterpret_cast<const char*>(block.data()) + block.size()));
        EXPECT_NE(found, image.end()) << "Image" << k;
    }
}

TEST(EmbeddedBlocks, HolderPictureIsTheDecodedBlock) {
    for (int k = 1; k <= kHolderCount; ++k)
        EXPECT_EQ(HolderPicture(k), DecodePictureBlock(HolderBlock(k), "Image1")) << k;
    EXPECT_THROW(HolderBlock(0), std::out_of_range);
    EXPECT_THROW(HolderBlock(19), std::out_of_range);
}

}  // namespace
}  // namespace kelto::frames
