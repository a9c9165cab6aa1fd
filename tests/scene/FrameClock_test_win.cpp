#include "scene/FrameClock_win.h"

#include <gtest/gtest.h>
#include <windows.h>

using WorkSpace::FrameClock;

TEST(FrameClock, MeasuresRealTimeFromTheFirstStart) {
    FrameClock& clock = FrameClock::Instance();
    clock.Start();
    const double start = clock.Seconds();
    Sleep(100);
    clock.Start();  // already running: not reset
    const double later = clock.Seconds();
    EXPECT_GE(later - start, 0.09);
    EXPECT_LT(later - start, 1.0);
    EXPECT_GE(later, 0.09);
    EXPECT_EQ(&FrameClock::Instance(), &clock);
}
