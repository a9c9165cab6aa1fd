#pragma once
// The frame loop shared by the saver window and the configuration dialog's
// preview: each timer tick draws the error screen, a probe frame, or a frame
// of the running scene, and the probe decides whether the machine is fast
// enough (FrameProbe.h).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "check/FrameProbe.h"
#include "scene/PictureSwaps_win.h"
#include "scene/SceneBuild_win.h"

namespace WorkSpace {

class FrameTicker {
public:
    explicit FrameTicker(ProbeRule rule) : rule_(rule) {}

    // Starts over for `window`: out of error mode, with the probe ahead; a
    // build under way is abandoned.
    void Restart(HWND window);
    // Starts building the scene (SceneBuilder::Start) while the window answers
    // its messages: every tick advances it, and the tick that completes it
    // runs `built`. The probe runs meanwhile, drawing a scene of as many
    // quads (shown black); a probe that fell short while the build ran beside
    // it starts over, so only a probe of the built scene alone fails the
    // machine. The pictures show once both are done. With `keepTurns` the
    // pictures that fly count as flown (SceneBuilder::Start).
    void StartBuild(const std::wstring& settingsPath, bool keepSettings,
                    std::function<void()> built, bool keepTurns = false);
    // Drops a build under way when the window goes: nobody waits for it, nor
    // for the pictures decoded ahead.
    void AbandonBuild() {
        builder_.Abandon();
        swaps_.Stop();
    }
    // From now on every tick draws the error screen.
    void EnterErrorMode() { errorMode_ = true; }
    bool InErrorMode() const { return errorMode_; }
    // True until the probe has decided; the probe ticks it has completed; true
    // while the scene is being built.
    bool Probing() const { return probeActive_; }
    bool Building() const { return builder_.Building(); }
    int32_t ProbeFrames() const { return probeFrames_; }
    // Draws one frame. In error mode a window whose error screen could not be
    // prepared is filled black, so the desktop never shows through.
    void Tick();

private:
    void ShowBlack() const;
    // Draws one probe frame and judges it; `building` tells whether the build
    // ran beside it this tick.
    void ProbeTick(bool building);

    ProbeRule rule_;
    SceneBuilder builder_;
    // A collection larger than the slots goes round once its pictures show,
    // so its decoding never competes with the probe's measure.
    PictureSwaps swaps_;
    std::function<void()> built_;
    HWND window_ = nullptr;
    bool errorMode_ = false;
    bool probeActive_ = true;  // the probe has not decided yet
    int32_t probeFrames_ = 0;  // probe ticks completed
    double probeStart_ = 0.0;  // frame-clock seconds at the first probe tick
    bool probeBesideBuild_ = false;  // the build ran during this probe
    bool flying_ = false;            // the pictures have shown
};

}  // namespace WorkSpace
