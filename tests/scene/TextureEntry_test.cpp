#include "scene/TextureEntry.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace WorkSpace;

TEST(PowerOfTwoSide, EachBandAndItsEdges) {
    struct Case { int32_t pixels; int32_t side; };
    const Case cases[] = {
        {-5, 16}, {0, 16}, {1, 16}, {10, 16}, {15, 16},
        {16, 32}, {31, 32}, {32, 64}, {50, 64}, {63, 64},
        {64, 128}, {300, 128}, {399, 128}, {400, 256}, {1024, 256},
        {60000, 256}, {INT32_MAX, 256},
    };
    for (const Case& c : cases) EXPECT_EQ(PowerOfTwoSide(c.pixels), c.side) << c.pixels;
}

TEST(NextFreeName, OneAboveTheLargestOr1024) {
    auto entries = [](std::initializer_list<int32_t> names) {
        std::vector<TextureEntry> list;
        for (int32_t name : names) list.push_back({name, TextureObject, 1, 1});
        return list;
    };
    EXPECT_EQ(NextFreeName({}), 1024);
    EXPECT_EQ(NextFreeName(entries({0, 1, 2})), 3);
    EXPECT_EQ(NextFreeName(entries({0, 2})), 3);  // a failed picture leaves its name unused
    EXPECT_EQ(NextFreeName(entries({5, 1})), 6);
    EXPECT_EQ(NextFreeName(entries({-7})), 0);
    EXPECT_EQ(NextFreeName(entries({INT32_MAX})), 1024);
}
