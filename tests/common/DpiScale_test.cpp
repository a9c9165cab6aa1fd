#include "common/DpiScale.h"

#include <gtest/gtest.h>

using namespace WorkSpace;

TEST(DpiScale, LengthsAtTheDisplaysOfOneHundredToTwoHundredPercent) {
    struct Case {
        int32_t length;
        uint32_t from;
        int32_t at96, at120, at144, at192;
    };
    const Case cases[] = {
        {180, kDefaultDpi, 180, 225, 270, 360},  // a logo's width
        {61, kDefaultDpi, 61, 76, 92, 122},      // 76.25 and 91.5: nearest, halves up
        {1, kDefaultDpi, 1, 1, 2, 2},
        {0, kDefaultDpi, 0, 0, 0, 0},
        {-11, kDefaultDpi, -11, -14, -17, -22},  // halves away from zero, as MulDiv
        {8, kPointsPerInch, 11, 13, 16, 21},     // the dialog font, 8 points
        {15, kPointsPerInch, 20, 25, 30, 40},    // the empty list's hint, 15 points
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        EXPECT_EQ(ScaleForDpi(c.length, 96, c.from), c.at96);
        EXPECT_EQ(ScaleForDpi(c.length, 120, c.from), c.at120);
        EXPECT_EQ(ScaleForDpi(c.length, 144, c.from), c.at144);
        EXPECT_EQ(ScaleForDpi(c.length, 192, c.from), c.at192);
    }
    // Back from 150 % to 100 %, and no scale known.
    EXPECT_EQ(ScaleForDpi(270, 96, 144), 180);
    EXPECT_EQ(ScaleForDpi(92, 96, 144), 61);
    EXPECT_EQ(ScaleForDpi(180, 144, 0), 180);
}
