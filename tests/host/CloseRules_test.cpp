#include "host/CloseRules.h"

#include <gtest/gtest.h>

using namespace WorkSpace;

TEST(CloseRules, MouseTravelAboveFourPixelsCloses) {
    struct Case { int32_t ax, ay, x, y; bool closes; };
    const Case cases[] = {
        {100, 100, 100, 100, false},  // a window appearing under a still cursor
        {100, 100, 103, 101, false},  // 4 pixels
        {100, 100, 103, 102, true},   // 5 pixels
        {100, 100, 97, 99, false},
        {100, 100, 97, 98, true},
        {100, 100, 100, 95, true},
        {0, 0, -2, 2, false},
        {-1024, 0, -1019, 0, true},   // a monitor left of the primary one
        {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MouseTravelCloses(c.ax, c.ay, c.x, c.y, kMouseTravelThreshold), c.closes)
            << c.ax << "," << c.ay << " -> " << c.x << "," << c.y;
    }
}

TEST(CloseRules, PowerBroadcastsCloseUnlessTheUserIsAwayOrNothingChanged) {
    struct Case { uint32_t event, data; uint8_t line, lastLine; bool closes; };
    const Case cases[] = {
        {7, 1, 1, 1, false},   // automatic resume, no user present
        {7, 0, 1, 1, true},
        {6, 3, 0, 0, false},
        {6, 2, 0, 0, true},
        {8, 1, 0, 0, false},
        {18, 0, 0, 0, true},
        {18, 1, 0, 0, false},
        {10, 0, 1, 1, false},  // status change with an unchanged AC line
        {10, 0, 0, 1, true},
        {10, 0, 255, 1, true}, // the status could not be read
        {10, 0, 255, 255, false},
        {4, 0, 1, 1, true},    // suspend
        {0, 0, 1, 1, true},    // query suspend
        {9, 0, 1, 1, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PowerBroadcastCloses(c.event, c.data, c.line, c.lastLine), c.closes)
            << c.event << "/" << c.data;
    }
    EXPECT_TRUE(PowerNotificationCloses(3));
    EXPECT_FALSE(PowerNotificationCloses(0));
    EXPECT_FALSE(PowerNotificationCloses(4));
}

TEST(CloseRules, SystemCommandsThatSwitchAwayAreIgnoredAndMonitorPowerCloses) {
    struct Case { uint32_t command; SysCommandAction action; };
    const Case cases[] = {
        {0xF040, SysCommandAction::Swallow},
        {0xF050, SysCommandAction::Swallow},
        {0xF140, SysCommandAction::Swallow},
        {0xF170, SysCommandAction::CloseAndPassOn},
        {0xF060, SysCommandAction::PassOn},  // close
        {0xF020, SysCommandAction::PassOn},  // minimise
        {0xF171, SysCommandAction::PassOn},
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifySysCommand(c.command), c.action) << c.command;
}

TEST(CloseRules, RefusedPasswordIsNotAskedAgainWithin200Ms) {
    struct Case { uint32_t last, now; bool due; };
    const Case cases[] = {
        {kNoPasswordCheck, 0, true},
        {kNoPasswordCheck, 12345, true},
        {1000, 1000, false},
        {1000, 1199, false},
        {1000, 1200, true},
        {0xFFFFFFA0u, 0x00000010u, false},  // 112 ms across the wrap
        {0xFFFFFFA0u, 0x00000068u, true},   // 200 ms across the wrap
    };
    for (const Case& c : cases) EXPECT_EQ(PasswordCheckDue(c.last, c.now), c.due) << c.last << " " << c.now;
}
