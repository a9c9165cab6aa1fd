#include "scene/MipChain.h"

#include <gtest/gtest.h>

using namespace WorkSpace;

namespace {

// A level 0 of 32-bit pixels (B, G, R, A in memory) from one value per texel
// for each of blue, green and red.
std::vector<uint8_t> Argb(const std::vector<uint8_t>& values, int32_t width, int32_t height,
                          size_t stride) {
    std::vector<uint8_t> pixels(stride * size_t(height), 0xEE);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t v = values[size_t(y * width + x)];
            uint8_t* p = pixels.data() + size_t(y) * stride + size_t(x) * 4;
            p[0] = v;
            p[1] = uint8_t(255 - v);
            p[2] = uint8_t(v / 2);
            p[3] = 0x80;
        }
    }
    return pixels;
}

uint8_t Blue(const MipLevel& level, int32_t x, int32_t y) {
    return level.pixels[size_t(y) * MipRowBytes(level.width) + size_t(x) * 3];
}

}  // namespace

TEST(MipChain, EachLevelHalvesTheOneBeforeDownToOneTexel) {
    // 4 x 2: two 2 x 2 blocks, then their mean; rounded as GLU rounds.
    const std::vector<uint8_t> values = {0, 10, 100, 101, 20, 31, 102, 103};
    const std::vector<uint8_t> argb = Argb(values, 4, 2, 20);
    const std::vector<MipLevel> chain = BuildMipChain(argb.data(), 4, 2, 20);
    ASSERT_EQ(chain.size(), 3u);
    const int32_t sizes[3][2] = {{4, 2}, {2, 1}, {1, 1}};
    for (size_t i = 0; i < chain.size(); ++i) {
        EXPECT_EQ(chain[i].width, sizes[i][0]);
        EXPECT_EQ(chain[i].height, sizes[i][1]);
        EXPECT_EQ(chain[i].pixels.size(), MipRowBytes(sizes[i][0]) * size_t(sizes[i][1]));
    }
    EXPECT_EQ(Blue(chain[0], 3, 1), 103);
    EXPECT_EQ(chain[0].pixels[1], 255);  // green of texel 0, alpha dropped
    EXPECT_EQ(chain[0].pixels[2], 0);    // red
    EXPECT_EQ(Blue(chain[1], 0, 0), 15);   // (0 + 10 + 20 + 31 + 2) / 4
    EXPECT_EQ(Blue(chain[1], 1, 0), 102);  // (100 + 101 + 102 + 103 + 2) / 4
    EXPECT_EQ(Blue(chain[2], 0, 0), 59);   // (15 + 102 + 15 + 102 + 2) / 4
    EXPECT_EQ(MipRowBytes(1), 4u);
    EXPECT_EQ(MipRowBytes(2), 8u);
    EXPECT_EQ(MipRowBytes(4), 12u);

    // A column of one texel halves its height alone.
    const std::vector<uint8_t> column = Argb({8, 12, 40, 44}, 1, 4, 4);
    const std::vector<MipLevel> tall = BuildMipChain(column.data(), 1, 4, 4);
    ASSERT_EQ(tall.size(), 3u);
    EXPECT_EQ(Blue(tall[1], 0, 0), 10);
    EXPECT_EQ(Blue(tall[1], 0, 1), 42);
    EXPECT_EQ(Blue(tall[2], 0, 0), 26);
    EXPECT_TRUE(BuildMipChain(column.data(), 0, 4, 4).empty());
}
