#include "check/ErrorScreenLayout.h"

#include <gtest/gtest.h>

using namespace WorkSpace;

TEST(ErrorScreenLayout, FullScreenFromSixFortyByFourEighty) {
    struct Case { SizeF window; bool full; };
    const Case cases[] = {
        {{640, 480}, true}, {{639, 480}, false}, {{640, 479}, false},
        {{1024, 768}, true}, {{152, 112}, false}, {{0, 0}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShowsFullErrorScreen(c.window), c.full) << c.window.w << "x" << c.window.h;
    }
}

TEST(ErrorScreenLayout, RectanglesOfPictureAndLogo) {
    struct Case {
        SizeF window, picture, logo;
        RectF pictureRect, cornerRect;
    };
    const Case cases[] = {
        {{1024, 768}, {800, 600}, {180, 60}, {112, 84, 800, 600}, {0, 708, 180, 60}},
        {{640, 480}, {640, 480}, {180, 60}, {0, 0, 640, 480}, {0, 420, 180, 60}},
        // A picture larger than the window is cut off on all sides.
        {{800, 600}, {1000, 700}, {200, 80}, {-100, -50, 1000, 700}, {0, 520, 200, 80}},
        {{1023, 767}, {800, 600}, {180, 60}, {111.5f, 83.5f, 800, 600}, {0, 707, 180, 60}},
    };
    for (const Case& c : cases) {
        const RectF p = CentredPictureRect(c.window, c.picture);
        const RectF l = CornerLogoRect(c.window, c.logo);
        EXPECT_FLOAT_EQ(p.x, c.pictureRect.x);
        EXPECT_FLOAT_EQ(p.y, c.pictureRect.y);
        EXPECT_FLOAT_EQ(p.w, c.pictureRect.w);
        EXPECT_FLOAT_EQ(p.h, c.pictureRect.h);
        EXPECT_FLOAT_EQ(l.x, c.cornerRect.x);
        EXPECT_FLOAT_EQ(l.y, c.cornerRect.y);
        EXPECT_FLOAT_EQ(l.w, c.cornerRect.w);
        EXPECT_FLOAT_EQ(l.h, c.cornerRect.h);
    }
}

TEST(ErrorScreenLayout, ReducedLogoInASmallPreview) {
    struct Case { SizeF window, logo; RectF expected; };
    const Case cases[] = {
        {{152, 112}, {180, 60}, {36.75f, 37.25f, 100.0f, 33.333332f}},
        {{639, 480}, {180, 60}, {280.25f, 221.25f, 100.0f, 33.333332f}},
        {{152, 112}, {0, 0}, {93.0f, 56.0f, 0.0f, 0.0f}},
    };
    for (const Case& c : cases) {
        const RectF r = ReducedLogoRect(c.window, c.logo);
        EXPECT_FLOAT_EQ(r.x, c.expected.x);
        EXPECT_FLOAT_EQ(r.y, c.expected.y);
        EXPECT_FLOAT_EQ(r.w, c.expected.w);
        EXPECT_FLOAT_EQ(r.h, c.expected.h);
    }
}

TEST(ErrorScreenLayout, EachMonitorGetsTheLayoutOfAWindowItsSize) {
    const SizeF picture{800, 600}, logo{180, 60};
    struct Case {
        RectF monitor;
        bool full;
        RectF pictureRect, logoRect;
    };
    const Case cases[] = {
        // One monitor over the whole window: the window's own layout.
        {{0, 0, 1024, 768}, true, {112, 84, 800, 600}, {0, 708, 180, 60}},
        // A second monitor of 1280 x 1024 right of a 1920-pixel one.
        {{1920, 0, 1280, 1024}, true, {2160, 212, 800, 600}, {1920, 964, 180, 60}},
        // A small window: the reduced logo near its middle.
        {{0, 0, 152, 112}, false, {-324, -244, 800, 600}, {36.75f, 37.25f, 100, 33.333332f}},
    };
    for (const Case& c : cases) {
        const MonitorErrorLayout layout = LayoutOnMonitor(c.monitor, picture, logo);
        EXPECT_EQ(layout.full, c.full) << c.monitor.x;
        const RectF got[] = {layout.picture, layout.logo};
        const RectF want[] = {c.pictureRect, c.logoRect};
        for (int i = 0; i < 2; ++i) {
            EXPECT_FLOAT_EQ(got[i].x, want[i].x) << c.monitor.x << " rect " << i;
            EXPECT_FLOAT_EQ(got[i].y, want[i].y) << c.monitor.x << " rect " << i;
            EXPECT_FLOAT_EQ(got[i].w, want[i].w) << c.monitor.x << " rect " << i;
            EXPECT_FLOAT_EQ(got[i].h, want[i].h) << c.monitor.x << " rect " << i;
        }
    }
}
