#pragma once
// The process's one high-resolution clock: the scene build starts it, the
// frame-rate probes read it.
#include "scene/FrameClock.h"

namespace WorkSpace {

class FrameClock {
public:
    // Returns the process's clock, made on the first call.
    static FrameClock& Instance();
    // Starts the clock if it is stopped; a running clock is left alone.
    void Start();
    // Returns seconds since Start; before it, seconds since the counter's origin.
    double Seconds() const;

private:
    FrameClock();
    int64_t Now() const;

    FrameClockState state_;
    bool useCounter_ = false;  // false: no high-resolution counter, milliseconds instead
    mutable TickExtender ticks_;
};

}  // namespace WorkSpace
