#include "check/FrameProbe.h"

#include <gtest/gtest.h>

#include <vector>

using namespace WorkSpace;

namespace {

struct Outcome {
    ProbeVerdict verdict;
    int32_t decidingTick;  // index of the tick that ended the probe, -1 when none did
};

// Runs ticks the way the frame loop does: the start time is read on the first
// tick, the verdict after each tick's frame, and every tick is counted after it.
Outcome RunProbe(const ProbeRule& rule, const std::vector<double>& tickEnds, double firstStart) {
    int32_t completed = 0;
    for (double end : tickEnds) {
        const ProbeVerdict verdict = JudgeProbeTick(rule, completed, firstStart, end);
        if (verdict != ProbeVerdict::Continue) return {verdict, completed};
        ++completed;
    }
    return {ProbeVerdict::Continue, -1};
}

// Tick ends `step` seconds apart, the first one at start + step.
std::vector<double> EvenTicks(int count, double start, double step) {
    std::vector<double> ends;
    for (int i = 1; i <= count; ++i) ends.push_back(start + step * i);
    return ends;
}

}  // namespace

TEST(FrameProbe, CountsTicksCompletedBeforeTheOneThatEndsIt) {
    struct Case {
        const char* name;
        ProbeRule rule;
        double start;
        std::vector<double> ends;
        ProbeVerdict verdict;
        int32_t decidingTick;
    };
    // 25 ticks end within the second, tick 25 exceeds it: passes on tick 25.
    std::vector<double> passAt25 = EvenTicks(25, 10.0, 0.04);
    passAt25.push_back(11.01);
    // Only 24 ticks before the second is exceeded: fails on tick 24.
    std::vector<double> failAt24 = EvenTicks(24, 10.0, 0.0416);
    failAt24.push_back(11.001);
    // Preview probe: 13 ticks within half a second pass, 12 fail.
    std::vector<double> previewPass = EvenTicks(13, 0.0, 0.038);
    previewPass.push_back(0.5001);
    std::vector<double> previewFail = EvenTicks(12, 0.0, 0.04);
    previewFail.push_back(0.51);
    const Case cases[] = {
        {"pass at tick 25", kSaverProbe, 10.0, passAt25, ProbeVerdict::Passed, 25},
        {"fail at tick 24", kSaverProbe, 10.0, failAt24, ProbeVerdict::Failed, 24},
        {"one slow tick", kSaverProbe, 10.0, {11.5}, ProbeVerdict::Failed, 0},
        {"exactly one second is still probing", kSaverProbe, 10.0, {10.5, 11.0}, ProbeVerdict::Continue, -1},
        {"fast machine keeps probing", kSaverProbe, 10.0, EvenTicks(200, 10.0, 0.004), ProbeVerdict::Continue, -1},
        {"many fast ticks then the second ends", kSaverProbe, 10.0, [] {
             auto e = EvenTicks(90, 10.0, 0.011);
             e.push_back(11.2);
             return e;
         }(), ProbeVerdict::Passed, 90},
        {"preview passes with 13", kPreviewProbe, 0.0, previewPass, ProbeVerdict::Passed, 13},
        {"preview fails with 12", kPreviewProbe, 0.0, previewFail, ProbeVerdict::Failed, 12},
    };
    for (const Case& c : cases) {
        const Outcome outcome = RunProbe(c.rule, c.ends, c.start);
        EXPECT_EQ(outcome.verdict, c.verdict) << c.name;
        EXPECT_EQ(outcome.decidingTick, c.decidingTick) << c.name;
    }
}

TEST(FrameProbe, TheStartIsTheFirstProbeTickNotWindowCreation) {
    // Five seconds of loading before the first tick do not count.
    EXPECT_EQ(JudgeProbeTick(kSaverProbe, 0, 105.0, 105.02), ProbeVerdict::Continue);
    EXPECT_EQ(JudgeProbeTick(kSaverProbe, 30, 105.0, 106.02), ProbeVerdict::Passed);
}
