#include "scene/FrameClock_win.h"

#include <windows.h>

namespace WorkSpace {

namespace {

constexpr int64_t kTicksPerSecond = 1000;  // GetTickCount counts milliseconds

}  // namespace

FrameClock& FrameClock::Instance() {
    static FrameClock clock;
    return clock;
}

// Without a high-resolution counter the probes would read no time at all;
// the millisecond tick count keeps them measuring real time.
FrameClock::FrameClock() {
    LARGE_INTEGER frequency{};
    useCounter_ = QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0;
    state_.frequency = useCounter_ ? frequency.QuadPart : kTicksPerSecond;
}

int64_t FrameClock::Now() const {
    if (useCounter_) {
        LARGE_INTEGER now{};
        QueryPerformanceCounter(&now);
        return now.QuadPart;
    }
    return ticks_.Extend(GetTickCount());
}

void FrameClock::Start() { state_.Start(Now()); }

double FrameClock::Seconds() const { return state_.Seconds(Now()); }

}  // namespace WorkSpace
