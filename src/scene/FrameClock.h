#pragma once
// The frame clock's arithmetic, free of Windows calls: counter readings come in
// as arguments, so the rules are tested without waiting.
#include <cstdint>

namespace WorkSpace {

struct FrameClockState {
    bool stopped = true;
    int64_t frequency = 0;  // counts per second, > 0
    int64_t base = 0;       // counter value at which the clock reads 0 s

    // Sets the zero point to `now` the first time; a running clock is never
    // reset, so a second scene build in the process keeps its time.
    void Start(int64_t now);
    // Returns seconds from the zero point to `now`.
    double Seconds(int64_t now) const;
};

// Extends a 32-bit millisecond tick count (wraps every 49.7 days) to 64 bits.
struct TickExtender {
    uint32_t last = 0;
    int64_t high = 0;  // multiples of 2^32 ms seen so far

    int64_t Extend(uint32_t tick);
};

}  // namespace WorkSpace
