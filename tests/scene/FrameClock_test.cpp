#include "scene/FrameClock.h"

#include <gtest/gtest.h>

using namespace WorkSpace;

TEST(FrameClock, StartsOnceAndCountsSeconds) {
    FrameClockState clock;
    clock.frequency = 10'000'000;
    EXPECT_DOUBLE_EQ(clock.Seconds(25'000'000), 2.5);  // before Start: from the counter's origin
    clock.Start(1'000'000'000'000);
    EXPECT_DOUBLE_EQ(clock.Seconds(1'000'000'000'000), 0.0);
    EXPECT_DOUBLE_EQ(clock.Seconds(1'000'010'000'000), 1.0);
    clock.Start(1'000'020'000'000);  // a second build does not restart it
    EXPECT_EQ(clock.base, 1'000'000'000'000);
    EXPECT_DOUBLE_EQ(clock.Seconds(1'000'005'000'000), 0.5);
}

TEST(FrameClock, MillisecondTicksKeepGrowingAcrossTheWrap) {
    TickExtender ticks;
    const struct { uint32_t tick; int64_t extended; } steps[] = {
        {1000, 1000},
        {0xFFFFFF00u, 0xFFFFFF00ll},
        {0x10, (1ll << 32) + 0x10},
        {0x20, (1ll << 32) + 0x20},
        {0xFFFFFFFFu, (1ll << 32) + 0xFFFFFFFFll},
        {5, (2ll << 32) + 5},
    };
    for (const auto& step : steps) EXPECT_EQ(ticks.Extend(step.tick), step.extended) << step.tick;
}
