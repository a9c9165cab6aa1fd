#include "check/FrameTicker_win.h"

#include <algorithm>

#include "check/ErrorScreen_win.h"
#include "scene/FrameClock_win.h"
#include "scene/PictureLoader_win.h"
#include "scene/RenderContext_win.h"
#include "scene/SceneFrame_win.h"

namespace WorkSpace {

void FrameTicker::Restart(HWND window) {
    *this = FrameTicker(rule_);
    window_ = window;
}

void FrameTicker::StartBuild(const std::wstring& settingsPath, bool keepSettings,
                             std::function<void()> built) {
    built_ = std::move(built);
    // At least one decoding thread, even on one processor: the window's own
    // thread must stay free to answer the user.
    builder_.Start(settingsPath, keepSettings, std::max<size_t>(1, MachineLoadWorkers()));
    // The probe's frames draw the scene in the window's projection from the start.
    if (GlReady() && !errorMode_) SetupProjection();
}

void FrameTicker::ShowBlack() const {
    if (GlReady()) ClearFrame();
    else FillWindowBlack(window_);
}

void FrameTicker::Tick() {
    const bool building = builder_.Building();
    if (building && builder_.Step() && built_) {
        const std::function<void()> built = std::move(built_);
        built_ = nullptr;
        built();
    }
    if (errorMode_) {
        if (builder_.Building()) ShowBlack();
        else if (!DrawErrorScreen()) FillWindowBlack(window_);
        return;
    }
    if (probeActive_) {
        ProbeTick(building);
        return;
    }
    if (builder_.Building()) {
        ShowBlack();
        return;
    }
    AnimateScene();
    RenderFrame(false);
}

// A probe frame is drawn in full but shown black.
void FrameTicker::ProbeTick(bool building) {
    if (probeFrames_ == 0) {
        probeStart_ = FrameClock::Instance().Seconds();
        probeBesideBuild_ = false;
    }
    probeBesideBuild_ = probeBesideBuild_ || building;
    AnimateScene();
    RenderFrame(true);
    const ProbeVerdict verdict =
        JudgeProbeTick(rule_, probeFrames_, probeStart_, FrameClock::Instance().Seconds());
    ++probeFrames_;
    if (verdict == ProbeVerdict::Continue) return;
    if (verdict == ProbeVerdict::Failed && probeBesideBuild_) {
        probeFrames_ = 0;  // decoding and uploads took their share: measure again
        return;
    }
    probeActive_ = false;
    if (verdict == ProbeVerdict::Failed) errorMode_ = true;
}

}  // namespace WorkSpace
