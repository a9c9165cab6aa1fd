#include "check/FrameProbe.h"

namespace WorkSpace {

ProbeVerdict JudgeProbeTick(const ProbeRule& rule, int32_t completedTicks, double start, double now) {
    // Strictly later: a tick ending exactly at the limit still belongs to the probe.
    if (!(now - start > rule.limitSeconds)) return ProbeVerdict::Continue;
    return completedTicks < rule.minFrames ? ProbeVerdict::Failed : ProbeVerdict::Passed;
}

}  // namespace WorkSpace
