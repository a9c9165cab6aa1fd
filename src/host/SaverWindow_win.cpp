#include "host/SaverWindow_win.h"

#include <string>

#include "check/ErrorScreen_win.h"
#include "check/SystemCheck_win.h"
#include "scene/FrameClock_win.h"
#include "host/FrameProbe.h"
#include "host/Framework_win.h"
#include "host/SaverState_win.h"
#include "scene/RenderContext_win.h"
#include "scene/SceneBuild_win.h"
#include "scene/SceneFrame_win.h"
#include "settings/Paths_win.h"
#include "settings/StartupResources_win.h"

namespace WorkSpace {
namespace {

constexpr UINT_PTR kFrameTimer = 0;
constexpr UINT kFramePeriodMs = 1;  // the platform's minimum timer interval applies

// Loads everything the saver needs and decides whether it can animate. The
// window is created in every case; any failed step leaves it in error mode.
void OnCreate(HWND window) {
    SaverState& saver = Saver();
    saver.currentWindow = window;
    LoadStartupResources();
    const std::wstring settingsPath = SettingsFilePath();
    if (!CheckSystem()) saver.errorMode = true;
    // An unfit machine still gets its context and scene: only the error screen shows.
    if (!AttachWindow(window)) saver.errorMode = true;
    if (!BuildScene(settingsPath, false)) saver.errorMode = true;
    PrepareErrorScreen(saver.currentWindow);
    if (!saver.errorMode) SetupProjection();
}

// One frame: the error screen, a probe frame (drawn in full, shown black), or
// a frame of the running scene.
void OnTimer() {
    SaverState& saver = Saver();
    if (saver.errorMode) {
        // Without a prepared error screen the window is filled black, so that
        // the desktop never shows through a full-screen saver.
        if (!DrawErrorScreen()) FillWindowBlack(saver.currentWindow);
        return;
    }
    if (!saver.probeActive) {
        AnimateScene();
        RenderFrame(false);
        return;
    }
    if (saver.probeFrames == 0) saver.probeStart = FrameClock::Instance().Seconds();
    AnimateScene();
    RenderFrame(true);
    const ProbeVerdict verdict =
        JudgeProbeTick(kSaverProbe, saver.probeFrames, saver.probeStart, FrameClock::Instance().Seconds());
    if (verdict == ProbeVerdict::Failed) saver.errorMode = true;
    if (verdict != ProbeVerdict::Continue) saver.probeActive = false;
    ++saver.probeFrames;
}

void OnDestroy(HWND window) {
    KillTimer(window, kFrameTimer);
    DestroyGlContext();
}

}  // namespace

SaverState& Saver() {
    static SaverState state;
    return state;
}

LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        try {
            OnCreate(window);
        } catch (...) {
            // Out of memory while loading: the saver shows the error screen.
            Saver().errorMode = true;
        }
        SetTimer(window, kFrameTimer, kFramePeriodMs, nullptr);
        return 0;
    case WM_TIMER:
        OnTimer();
        return 0;
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the frame or the error screen covers the client area
    default:
        return DefaultSaverProc(window, message, wParam, lParam);
    }
}

}  // namespace WorkSpace
