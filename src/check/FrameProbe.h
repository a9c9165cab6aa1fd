#pragma once
// The frame-rate probe: the first ticks of a saver run are drawn in full but
// wiped before they are shown, and a machine that completes too few of them
// within the probe's time is put into error mode. Times are frame-clock seconds.
#include <cstdint>

namespace WorkSpace {

struct ProbeRule {
    double limitSeconds;  // the probe ends with the first tick that ends later than this after it began
    int32_t minFrames;    // completed ticks needed before that tick, >= 1
};

inline constexpr ProbeRule kSaverProbe{1.0, 25};
inline constexpr ProbeRule kPreviewProbe{0.5, 13};

enum class ProbeVerdict { Continue, Passed, Failed };

// Returns what a probe tick decides once its frame is drawn: `completedTicks`
// ticks finished before it, the first probe tick began at `start` and this one
// ended at `now`. The deciding tick itself is not counted.
ProbeVerdict JudgeProbeTick(const ProbeRule& rule, int32_t completedTicks, double start, double now);

}  // namespace WorkSpace
