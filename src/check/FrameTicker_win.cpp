#include "check/FrameTicker_win.h"

#include <algorithm>

#include "check/ErrorScreen_win.h"
#include "scene/FrameClock_win.h"
#include "scene/FrameGeometry.h"
#include "scene/PictureLoader_win.h"
#include "scene/RenderContext_win.h"
#include "scene/SceneFrame_win.h"
#include "scene/TextureList_win.h"

namespace WorkSpace {

void FrameTicker::Restart(HWND window) {
    *this = FrameTicker(rule_);
    window_ = window;
}

void FrameTicker::StartBuild(const std::wstring& settingsPath, bool keepSettings,
                             std::function<void()> built, bool keepTurns) {
    built_ = std::move(built);
    // At least one decoding thread, even on one processor: the window's own
    // thread must stay free to answer the user.
    builder_.Start(settingsPath, keepSettings, std::max<size_t>(1, MachineLoadWorkers()), keepTurns);
}

void FrameTicker::ShowBlack() const {
    if (GlReady()) ClearFrame();
    else FillWindowBlack(window_);
}

void FrameTicker::Tick() {
    if (builder_.Building()) {
        if (builder_.Step() && built_) {
            const std::function<void()> built = std::move(built_);
            built_ = nullptr;
            built();
        }
        ShowBlack();
        return;
    }
    if (errorMode_) {
        if (!DrawErrorScreen()) FillWindowBlack(window_);
        return;
    }
    if (!probeActive_) {
        AnimateScene();
        swaps_.AfterTick(TheScene(), TheTextureList());
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
    // A window too small to show the scene (the preview of Display Settings)
    // decodes nothing for it.
    const RECT& rect = TheRenderContext().attachedRect;
    if (verdict == ProbeVerdict::Passed && !errorMode_ &&
        ShowsScene(rect.left, rect.top, rect.right, rect.bottom)) {
        swaps_.Start(builder_.Turns());
    }
    if (verdict != ProbeVerdict::Continue) probeActive_ = false;
    ++probeFrames_;
}

}  // namespace WorkSpace
