#include "resources/JpegScaling.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace WorkSpace;

namespace {

// A texture side rule with two steps, so that a stored side paired with the
// wrong texture side asks for a different scale.
int32_t TwoStepSide(int32_t pixels) { return pixels < 400 ? 128 : 256; }

}  // namespace

TEST(JpegScaling, SmallestScaleCoveringTheTextureWithinTheMemoryLimit) {
    struct Case {
        int32_t width, height, orientation;  // as stored
        int32_t eighths, outputWidth, outputHeight, uprightWidth, uprightHeight;
        bool fits;
    };
    const Case cases[] = {
        {4000, 3000, 1, 1, 500, 375, 4000, 3000, true},     // a camera photo
        {3000, 4000, 6, 1, 375, 500, 4000, 3000, true},     // held upright: sides swap
        {4001, 2999, 1, 1, 501, 375, 4001, 2999, true},     // partial blocks round up
        {2000, 300, 1, 4, 1000, 150, 2000, 300, true},      // 300/8*3 = 112.5 < 128
        {2000, 300, 6, 4, 1000, 150, 300, 2000, true},      // the same, turned
        {300, 2000, 8, 4, 150, 1000, 2000, 300, true},
        {1023, 1023, 1, 2, 256, 256, 1023, 1023, true},     // 255.75 rounds up to 256
        {1024, 1024, 1, 2, 256, 256, 1024, 1024, true},
        {2048, 2048, 1, 1, 256, 256, 2048, 2048, true},
        {300, 200, 1, 6, 225, 150, 300, 200, true},
        {17, 4000, 1, 8, 17, 4000, 17, 4000, true},         // 17 never reaches 128: full size
        {10, 10, 5, 8, 10, 10, 10, 10, true},               // smaller than its texture
        {65000, 65000, 1, 1, 8125, 8125, 65000, 65000, false},
        {32768, 32768, 1, 1, 4096, 4096, 32768, 32768, true},   // exactly 64 MiB
        {32769, 32768, 1, 1, 4097, 4096, 32769, 32768, false},  // one column more
        {65000, 390, 1, 3, 24375, 147, 65000, 390, true},
    };
    for (const Case& c : cases) {
        const JpegDecodePlan plan = PlanJpegDecode(c.width, c.height, c.orientation, TwoStepSide);
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " o" << c.orientation);
        EXPECT_EQ(std::make_tuple(plan.eighths, plan.outputWidth, plan.outputHeight,
                                  plan.uprightWidth, plan.uprightHeight, plan.fits),
                  std::make_tuple(c.eighths, c.outputWidth, c.outputHeight, c.uprightWidth,
                                  c.uprightHeight, c.fits));
    }
}

TEST(JpegScaling, RecognisedByTheStartOfImageMarker) {
    const uint8_t jpeg[] = {0xFF, 0xD8, 0xFF, 0xE0};
    const uint8_t png[] = {0x89, 'P', 'N', 'G'};
    const uint8_t bareStart[] = {0xFF, 0xD8, 0x00, 0x00};
    EXPECT_TRUE(StartsLikeJpeg(jpeg, 4));
    EXPECT_TRUE(StartsLikeJpeg(jpeg, 3));
    EXPECT_FALSE(StartsLikeJpeg(jpeg, 2));
    EXPECT_FALSE(StartsLikeJpeg(png, 4));
    EXPECT_FALSE(StartsLikeJpeg(bareStart, 4));
}
