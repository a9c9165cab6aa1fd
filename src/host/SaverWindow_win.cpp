// The saver window's own procedure (SaverWindowProc): start-up, frames, release.
#include "host/Framework_win.h"

#include <string>

#include "check/ErrorScreen_win.h"
#include "check/FrameTicker_win.h"
#include "check/SystemCheck_win.h"
#include "scene/Monitors_win.h"
#include "scene/RenderContext_win.h"
#include "settings/Paths_win.h"
#include "settings/StartupResources_win.h"

namespace WorkSpace {
namespace {

constexpr UINT_PTR kFrameTimer = 0;
constexpr UINT kFramePeriodMs = 1;  // the platform's minimum timer interval applies

FrameTicker& Ticker() {
    static FrameTicker ticker(kSaverProbe);
    return ticker;
}

// Decides whether the saver can animate and starts building its scene. The
// window is created in every case, and comes up black at once: the pictures
// are decoded while it answers the user, so a key or a mouse move ends the
// saver during the build as during the flight. Any failed step leaves it in
// error mode.
void OnCreate(HWND window) {
    FrameTicker& ticker = Ticker();
    ticker.Restart(window);
    LoadStartupResources();
    const std::wstring settingsPath = SettingsFilePath();
    if (!CheckSystem()) ticker.EnterErrorMode();
    // An unfit machine still gets its context and scene: only the error screen shows.
    if (!AttachWindow(window)) ticker.EnterErrorMode();
    // Full screen, each monitor the window covers shows a scene of its own;
    // they are counted once, here (a display change ends the saver).
    if (!Framework().isPreview) SetMonitors(EnumerateMonitors(window));
    // Only the full-screen saver takes its turn in the order of a large
    // collection; the small preview of Display Settings shows the same pictures.
    ticker.StartBuild(
        settingsPath, false,
        [window] {
            PrepareErrorScreen(window);
            if (!Ticker().InErrorMode()) SetupProjection();
        },
        !Framework().isPreview);
}

void OnDestroy(HWND window) {
    KillTimer(window, kFrameTimer);
    Ticker().AbandonBuild();
    DestroyGlContext();
}

}  // namespace

LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        try {
            OnCreate(window);
        } catch (...) {
            // Out of memory while loading: the saver shows the error screen.
            Ticker().EnterErrorMode();
        }
        SetTimer(window, kFrameTimer, kFramePeriodMs, nullptr);
        return 0;
    case WM_TIMER:
        Ticker().Tick();
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
