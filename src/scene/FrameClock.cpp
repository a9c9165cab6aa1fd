#include "scene/FrameClock.h"

namespace WorkSpace {

void FrameClockState::Start(int64_t now) {
    if (!stopped) return;
    base = now;
    stopped = false;
}

double FrameClockState::Seconds(int64_t now) const { return double(now - base) / double(frequency); }

int64_t TickExtender::Extend(uint32_t tick) {
    if (tick < last) high += int64_t(1) << 32;
    last = tick;
    return high + tick;
}

}  // namespace WorkSpace
