#include "scene/FrameGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace WorkSpace;

TEST(FrameGeometry, SceneNeedsAtLeast640By480) {
    struct Case { int32_t left, top, right, bottom; bool shows; };
    const Case cases[] = {
        {0, 0, 640, 480, true}, {0, 0, 639, 480, false}, {0, 0, 640, 479, false},
        {10, 20, 650, 500, true}, {0, 0, 152, 112, false}, {0, 0, 1920, 1080, true},
        {0, 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShowsScene(c.left, c.top, c.right, c.bottom), c.shows) << c.right << "x" << c.bottom;
    }
}

TEST(FrameGeometry, PictureAndBorderExtent) {
    SceneQuad quad;
    quad.width = 5;
    quad.height = 3.75;
    quad.position = {0, 0, -20, 1};
    const PictureBounds b = BoundsOf(quad);
    EXPECT_EQ(b.left, -2.5);
    EXPECT_EQ(b.right, 2.5);
    EXPECT_EQ(b.bottom, -1.875);
    EXPECT_EQ(b.top, 1.875);
    const auto corners = PictureCorners(b);
    const TexturedVertex expected[4] = {
        {-2.5f, -1.875f, 0, 1}, {2.5f, -1.875f, 1, 1}, {2.5f, 1.875f, 1, 0}, {-2.5f, 1.875f, 0, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(corners[i].x, expected[i].x);
        EXPECT_EQ(corners[i].y, expected[i].y);
        EXPECT_EQ(corners[i].s, expected[i].s);
        EXPECT_EQ(corners[i].t, expected[i].t);
    }
    float minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (const BorderVertex& v : SoftBorderVertices(b, kSoftBorder)) {
        minX = std::min(minX, v.x), maxX = std::max(maxX, v.x);
        minY = std::min(minY, v.y), maxY = std::max(maxY, v.y);
    }
    EXPECT_EQ(minX, -3.0f);
    EXPECT_EQ(maxX, 3.0f);
    EXPECT_EQ(minY, -2.375f);
    EXPECT_EQ(maxY, 2.375f);
}

TEST(FrameGeometry, BorderQuadsInTheirOrderWithTheirAlphas) {
    const PictureBounds b{-1, -2, 3, 4};  // L, B, R, T
    const float L = -1, B = -2, R = 3, T = 4, Lo = -1.5f, Bo = -2.5f, Ro = 3.5f, To = 4.5f;
    const BorderVertex expected[kBorderVertices] = {
        {Lo, B, 0}, {Lo, T, 0}, {L, T, 1}, {L, B, 1},
        {L, B, 1}, {L, Bo, 0}, {Lo, Bo, 0}, {Lo, B, 0},
        {R, Bo, 0}, {L, Bo, 0}, {L, B, 1}, {R, B, 1},
        {Ro, Bo, 0}, {R, Bo, 0}, {R, B, 1}, {Ro, B, 0},
        {Ro, T, 0}, {Ro, B, 0}, {R, B, 1}, {R, T, 1},
        {Ro, To, 0}, {Ro, T, 0}, {R, T, 1}, {R, To, 0},
        {R, T, 1}, {L, T, 1}, {L, To, 0}, {R, To, 0},
        {L, T, 1}, {Lo, T, 0}, {Lo, To, 0}, {L, To, 0},
    };
    const auto vertices = SoftBorderVertices(b, 0.5);
    for (int i = 0; i < kBorderVertices; ++i) {
        EXPECT_EQ(vertices[i].x, expected[i].x) << i;
        EXPECT_EQ(vertices[i].y, expected[i].y) << i;
        EXPECT_EQ(vertices[i].alpha, expected[i].alpha) << i;
    }
}

TEST(FrameGeometry, LogoIsTwoPixelsLargerThanItsImage) {
    SceneQuad logo;
    logo.texture = 3;
    logo.width = 120;
    logo.height = 40;
    logo.position = {0, 728, 0, 1};
    const auto corners = LogoCorners(logo);
    EXPECT_EQ(corners[0].x, 0.0f);
    EXPECT_EQ(corners[0].y, 770.0f);
    EXPECT_EQ(corners[1].x, 122.0f);
    EXPECT_EQ(corners[2].y, 728.0f);
    EXPECT_EQ(corners[2].t, 0.0f);
    EXPECT_EQ(corners[0].t, 1.0f);
}

TEST(FrameGeometry, DrawingOrderFollowsTheEyeSide) {
    EXPECT_TRUE(DrawsForward(30.0f));
    EXPECT_TRUE(DrawsForward(0.001f));
    EXPECT_FALSE(DrawsForward(0.0f));
    EXPECT_FALSE(DrawsForward(-80.0f));
}
