#pragma once
// The numeric rules by which a full-screen saver decides to close: mouse travel,
// power events, system commands, and how often a refused password is asked again.
// The framework's window procedure reads the platform and applies these.
#include <cstdint>

namespace WorkSpace {

inline constexpr uint32_t kMouseTravelThreshold = 4;  // pixels, |dx| + |dy|
inline constexpr uint32_t kPasswordRetryMs = 200;     // a refused close is not asked again sooner
inline constexpr uint32_t kNoPasswordCheck = 0xFFFFFFFFu;  // tick count of "never checked"
inline constexpr uint8_t kNoLineStatus = 255;         // AC line status unknown

// Power broadcast events (WM_POWERBROADCAST wParam).
inline constexpr uint32_t kPowerStatusChange = 10;

// Returns whether the cursor at (x, y) has travelled more than `threshold`
// pixels (x plus y distance) from the anchor; screen pixels.
bool MouseTravelCloses(int32_t anchorX, int32_t anchorY, int32_t x, int32_t y, uint32_t threshold);

// Returns whether a power broadcast closes the saver. `lineStatus` is the AC
// line status read now and is looked at only for kPowerStatusChange.
bool PowerBroadcastCloses(uint32_t event, uint32_t data, uint8_t lineStatus, uint8_t lastLineStatus);

// Returns whether a WM_POWER notification closes the saver (critical resume only).
bool PowerNotificationCloses(uint32_t event);

enum class SysCommandAction {
    PassOn,         // handled as usual
    Swallow,        // return 0: window switching and a second saver start are ignored
    CloseAndPassOn  // monitor power: close, then handle as usual
};

// Returns what a full-screen saver does with WM_SYSCOMMAND `command`.
SysCommandAction ClassifySysCommand(uint32_t command);

// Returns whether the password is asked again: never asked before, or at least
// kPasswordRetryMs after the last time (tick counts, wrapping at 2^32).
bool PasswordCheckDue(uint32_t lastCheckMs, uint32_t nowMs);

}  // namespace WorkSpace
