#include "scene/MonitorLayout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace WorkSpace;

TEST(MonitorLayout, MonitorsMovedIntoTheClientAreaAndCutToIt) {
    struct Case {
        const char* what;
        std::vector<MonitorRect> monitors;
        int32_t originX, originY, width, height;
        std::vector<MonitorRect> expected;
    };
    const Case cases[] = {
        {"two equal side by side", {{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}}, 0, 0, 3840, 1080,
         {{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}}},
        {"a smaller one beside, its gap left to no monitor",
         {{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}}, 0, 0, 3200, 1080,
         {{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}}},
        {"a monitor left of the primary: the virtual screen starts below zero",
         {{0, 0, 1024, 768}, {-1280, -256, 0, 768}}, -1280, -256, 2304, 1024,
         {{1280, 256, 2304, 1024}, {0, 0, 1280, 1024}}},
        {"a monitor the window does not reach is dropped",
         {{0, 0, 1024, 768}, {1024, 0, 2048, 768}}, 0, 0, 1024, 768, {{0, 0, 1024, 768}}},
        {"a window over part of a monitor", {{0, 0, 1920, 1080}}, 100, 50, 640, 480,
         {{0, 0, 640, 480}}},
        {"no monitor named: the whole client area", {}, 0, 0, 800, 600, {{0, 0, 800, 600}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MonitorsInClient(c.monitors, c.originX, c.originY, c.width, c.height), c.expected)
            << c.what;
    }
}

TEST(MonitorLayout, ViewportsCountFromTheBottomOfTheClientArea) {
    struct Case {
        MonitorRect monitor;
        int32_t clientHeight;
        GlViewport expected;
    };
    const Case cases[] = {
        {{0, 0, 1024, 768}, 768, {0, 0, 1024, 768}},
        {{1920, 0, 3200, 1024}, 1080, {1920, 56, 1280, 1024}},
        {{0, 256, 1280, 1024}, 1024, {0, 0, 1280, 768}},
    };
    for (const Case& c : cases) {
        const GlViewport view = ViewportOf(c.monitor, c.clientHeight);
        EXPECT_EQ(view.x, c.expected.x);
        EXPECT_EQ(view.y, c.expected.y);
        EXPECT_EQ(view.width, c.expected.width);
        EXPECT_EQ(view.height, c.expected.height);
    }
}
