#include "host/CloseRules.h"

namespace WorkSpace {

bool MouseTravelCloses(int32_t anchorX, int32_t anchorY, int32_t x, int32_t y, uint32_t threshold) {
    // 64-bit differences: screen coordinates far apart must not overflow.
    const int64_t dx = int64_t(x) - anchorX;
    const int64_t dy = int64_t(y) - anchorY;
    const int64_t travel = (dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy);
    return travel > int64_t(threshold);
}

bool PowerBroadcastCloses(uint32_t event, uint32_t data, uint8_t lineStatus, uint8_t lastLineStatus) {
    switch (event) {
    case 6:   // resume from a critical suspend
    case 7:   // resume from suspend
    case 8:   // resume from standby
    case 18:  // automatic resume
        // Bit 0 set: the resume was not caused by the user, who is still away.
        return (data & 1u) == 0;
    case kPowerStatusChange:
        return lineStatus != lastLineStatus;
    default:
        return true;
    }
}

bool PowerNotificationCloses(uint32_t event) { return event == 3; }

SysCommandAction ClassifySysCommand(uint32_t command) {
    switch (command) {
    case 0xF040:  // next window
    case 0xF050:  // previous window
    case 0xF140:  // start the screen saver
        return SysCommandAction::Swallow;
    case 0xF170:  // monitor power
        return SysCommandAction::CloseAndPassOn;
    default:
        return SysCommandAction::PassOn;
    }
}

bool PasswordCheckDue(uint32_t lastCheckMs, uint32_t nowMs) {
    return lastCheckMs == kNoPasswordCheck || uint32_t(nowMs - lastCheckMs) >= kPasswordRetryMs;
}

}  // namespace WorkSpace
