// The fold must give every texel the mean of exactly the picture area it
// covers along a side that shrinks, and the linear mix of the two pixels
// around its sample point along a side that stretches, however the sides
// divide, with colours weighted by alpha; checked against the same worked
// out in floating point, pixel by pixel.
#include "resources/TextureFold.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "resources/PictureHeader.h"

using namespace WorkSpace;

namespace {

// Pixels from a fixed sequence: red, green, blue when opaque; else red,
// green, blue, alpha with a third of them fully transparent (with a colour,
// which must not show).
std::vector<uint8_t> Pixels(int width, int height, bool opaque) {
    const size_t lanes = opaque ? 3 : 4;
    std::vector<uint8_t> pixels(size_t(width) * height * lanes);
    uint32_t state = 7;
    for (size_t i = 0; i < pixels.size(); ++i) {
        state = state * 1103515245u + 12345u;
        pixels[i] = uint8_t(state >> 23);
        if (!opaque && i % 4 == 3 && (state >> 16) % 3 == 0) pixels[i] = 0;
    }
    return pixels;
}

// The share of pixel `x` in texel `i` along a side of `pixels` made into `texels`.
double Share(int x, int i, int pixels, int texels) {
    const double scale = double(pixels) / texels;
    if (texels <= pixels) {
        return std::max(0.0, std::min(x + 1.0, (i + 1) * scale) - std::max(double(x), i * scale));
    }
    const double point = std::min(i * scale, pixels - 1.0);
    return std::max(0.0, 1.0 - std::abs(point - x));
}

// The texel (i, j), blue, green, red, alpha.
std::vector<int> ExpectedTexel(const std::vector<uint8_t>& pixels, bool opaque, int width,
                               int height, int textureWidth, int textureHeight, int i, int j) {
    const size_t lanes = opaque ? 3 : 4;
    // Only pixels within one pixel of the texel's own area can have a share.
    auto near = [](int i, int pixels, int texels, int& from, int& to) {
        from = std::max(0, int(double(i) * pixels / texels) - 1);
        to = std::min(pixels, int(double(i + 1) * pixels / texels) + 2);
    };
    int x0, x1, y0, y1;
    near(i, width, textureWidth, x0, x1);
    near(j, height, textureHeight, y0, y1);
    double total = 0, alpha = 0, colour[3] = {};
    for (int y = y0; y < y1; ++y) {
        const double down = Share(y, j, height, textureHeight);
        for (int x = x0; x < x1; ++x) {
            const double share = Share(x, i, width, textureWidth) * down;
            const uint8_t* p = &pixels[(size_t(y) * width + x) * lanes];
            const double a = opaque ? 255 : p[3];
            total += share;
            alpha += share * a;
            for (int c = 0; c < 3; ++c) colour[c] += share * a * p[2 - c];
        }
    }
    const int meanAlpha = int(std::lround(alpha / total));
    if (meanAlpha == 0) return {0, 0, 0, 0};
    return {int(std::lround(colour[0] / alpha)), int(std::lround(colour[1] / alpha)),
            int(std::lround(colour[2] / alpha)), meanAlpha};
}

}  // namespace

TEST(TextureFold, TexelsAreAreaMeansShrinkingAndLinearMixesStretching) {
    struct Case { int width, height, textureWidth, textureHeight; bool opaque, white = false; };
    const Case cases[] = {
        {16, 8, 4, 2, false},      // whole pixels per texel
        {17, 13, 5, 3, false},     // texel edges cut pixels
        {3, 2, 7, 5, false},       // stretched
        {1, 1, 16, 16, false},     // one pixel over the whole texture
        {1000, 10, 256, 16, true}, // shrunk across, stretched down
        {640, 427, 256, 128, true},
        {5, 200, 3, 256, false},   // stretched down by less than two
        {4, 3, 4, 3, false},       // the same size: the pixels themselves
        {640, 427, 256, 128, false},
        // 100,000 white rows a texel: the column sums are folded on the way, before 2^32.
        {1, 200000, 1, 2, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " -> " << c.textureWidth
                                        << "x" << c.textureHeight);
        std::vector<uint8_t> pixels = Pixels(c.width, c.height, c.opaque);
        if (c.white) std::fill(pixels.begin(), pixels.end(), 255);
        const ptrdiff_t stride = ptrdiff_t(c.textureWidth) * 4 + 8;  // padded rows stay untouched
        std::vector<uint8_t> texels(size_t(stride) * c.textureHeight, 0xEE);
        TextureFold fold;
        ASSERT_TRUE(fold.Start(c.width, c.height, c.textureWidth, c.textureHeight, c.opaque,
                               texels.data(), stride));
        for (int y = 0; y < c.height; ++y) {
            EXPECT_FALSE(fold.Done());
            ASSERT_TRUE(fold.AddRow(&pixels[size_t(y) * c.width * (c.opaque ? 3 : 4)]));
        }
        EXPECT_TRUE(fold.Done());
        EXPECT_FALSE(fold.AddRow(pixels.data()));  // no row past the last
        int worst = 0;
        for (int j = 0; j < c.textureHeight; ++j) {
            for (int i = 0; i < c.textureWidth; ++i) {
                const std::vector<int> expected = ExpectedTexel(
                    pixels, c.opaque, c.width, c.height, c.textureWidth, c.textureHeight, i, j);
                const uint8_t* texel = &texels[size_t(j) * stride + size_t(i) * 4];
                for (int k = 0; k < 4; ++k) worst = std::max(worst, std::abs(texel[k] - expected[size_t(k)]));
            }
            EXPECT_EQ(texels[size_t(j) * stride + size_t(c.textureWidth) * 4], 0xEE);
        }
        EXPECT_LE(worst, 1);
    }
}

TEST(TextureFold, RefusesWhatItCannotFold) {
    std::vector<uint8_t> texels(16 * 16 * 4);
    const uint32_t side = 1u << 14;  // side x side is exactly the pixel bound
    struct Case { int64_t width, height; int textureWidth, textureHeight; ptrdiff_t stride; bool starts; };
    const Case cases[] = {
        {side, side, 16, 16, 64, true},
        {side, side + 1, 16, 16, 64, false},
        {0, 5, 16, 16, 64, false},
        {5, 5, 0, 16, 64, false},
        {5, 5, 16, kMaxFoldSide + 1, 64, false},
        {5, 5, 16, 16, 63, false},  // rows shorter than the texture
        {kMaxFoldWidth + 1, 1, 16, 16, 64, false},
    };
    for (const Case& c : cases) {
        TextureFold fold;
        EXPECT_EQ(fold.Start(int32_t(c.width), int32_t(c.height), c.textureWidth, c.textureHeight,
                             false, texels.data(), c.stride),
                  c.starts)
            << c.width << "x" << c.height;
        if (!c.starts) {
            EXPECT_FALSE(fold.AddRow(texels.data()));
            EXPECT_FALSE(fold.Done());
        }
    }
    static_assert(uint64_t(1u << 14) * (1u << 14) == kMaxPicturePixels, "the first case is the bound");
}
