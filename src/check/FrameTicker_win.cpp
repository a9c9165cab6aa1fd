#include "check/FrameTicker_win.h"

#include "check/ErrorScreen_win.h"
#include "scene/FrameClock_win.h"
#include "scene/SceneFrame_win.h"

namespace WorkSpace {

void FrameTicker::Restart(HWND window) {
    *this = FrameTicker(rule_);
    window_ = window;
}

void FrameTicker::Tick() {
    if (errorMode_) {
        if (!DrawErrorScreen()) FillWindowBlack(window_);
        return;
    }
    if (!probeActive_) {
        AnimateScene();
        RenderFrame(false);
        return;
    }
    // A probe frame is drawn in full but shown black.
    if (probeFrames_ == 0) probeStart_ = FrameClock::Instance().Seconds();
    AnimateScene();
    RenderFrame(true);
    const ProbeVerdict verdict =
        JudgeProbeTick(rule_, probeFrames_, probeStart_, FrameClock::Instance().Seconds());
    if (verdict == ProbeVerdict::Failed) errorMode_ = true;
    if (verdict != ProbeVerdict::Continue) probeActive_ = false;
    ++probeFrames_;
}

}  // namespace WorkSpace
