#include "resources/MipChain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace WorkSpace;

namespace {

// The mean of the area each texel covers, in doubles, straight from level 0.
double Reference(const std::vector<uint8_t>& level0, int32_t width, int32_t height, int32_t w,
                 int32_t h, int32_t x, int32_t y, int channel) {
    const double left = double(x) * width / w, right = double(x + 1) * width / w;
    const double top = double(y) * height / h, bottom = double(y + 1) * height / h;
    double sum = 0.0;
    for (int32_t row = 0; row < height; ++row) {
        const double down = std::max(0.0, std::min(bottom, row + 1.0) - std::max(top, double(row)));
        for (int32_t column = 0; down > 0 && column < width; ++column) {
            const double across = std::max(0.0, std::min(right, column + 1.0) - std::max(left, double(column)));
            sum += across * down * level0[(size_t(row) * width + column) * 3 + channel];
        }
    }
    return sum / ((right - left) * (bottom - top));
}

}  // namespace

// Every level of odd, flat and power-of-two sizes against the area mean of
// level 0 (each level is made from the one above, so rounding may add up to a
// step a level).
TEST(MipChain, LevelsAreAreaMeansDownToOneTexel) {
    struct Size { int32_t width, height; size_t levels; };
    for (const Size& size : {Size{5, 3, 3}, Size{7, 1, 3}, Size{1, 9, 4}, Size{64, 16, 7}, Size{33, 17, 6}}) {
        const size_t stride = size_t(size.width) * 3 + 5;  // padded rows, as a locked bitmap has
        std::vector<uint8_t> rows(stride * size_t(size.height), 0xEE), packed;
        for (int32_t y = 0; y < size.height; ++y) {
            for (int32_t i = 0; i < size.width * 3; ++i) {
                const uint8_t value = uint8_t((y * 37 + i * 101 + (i % 3) * 60) % 256);
                rows[size_t(y) * stride + size_t(i)] = value;
                packed.push_back(value);
            }
        }
        MipChain chain;
        ASSERT_TRUE(chain.Build(rows.data(), ptrdiff_t(stride), size.width, size.height));
        ASSERT_EQ(chain.Levels(), size.levels) << size.width << "x" << size.height;
        EXPECT_EQ(std::vector<uint8_t>(chain.Texels(0), chain.Texels(0) + packed.size()), packed);
        for (size_t i = 1; i < chain.Levels(); ++i) {
            const MipLevel& level = chain.Level(i);
            EXPECT_EQ(level.width, std::max(1, size.width >> i));
            EXPECT_EQ(level.height, std::max(1, size.height >> i));
            for (int32_t y = 0; y < level.height; ++y) {
                for (int32_t x = 0; x < level.width; ++x) {
                    for (int c = 0; c < 3; ++c) {
                        const double want = Reference(packed, size.width, size.height, level.width,
                                                      level.height, x, y, c);
                        const uint8_t got = chain.Texels(i)[(size_t(y) * level.width + x) * 3 + c];
                        EXPECT_NEAR(got, want, double(i)) << size.width << "x" << size.height
                                                          << " level " << i;
                    }
                }
            }
        }
    }
    MipChain none;
    EXPECT_FALSE(none.Build(nullptr, 0, 4, 4));
    EXPECT_EQ(none.Levels(), 0u);
}
