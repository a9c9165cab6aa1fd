// Monitors benchmark: what a scene per monitor costs. On a screen of two
// monitors of 1920 x 1080 side by side (scripts/run-bench.sh runs it under
// scripts/monitors-exec.sh), the saver's frame loop runs in this process over
// a window that spans both monitors, and over one of 1920 x 1080 on the first
// monitor alone: the frame-rate probe's count of frames in its first second
// (the saver needs 25), then the median time of a frame (AnimateScene +
// RenderFrame + glFinish) over the running scene of the three default
// pictures. They fly under Falling, whose camera rests: under Rotation a
// frame's cost would follow the camera's turn. Prints figures only, ending with one "name: value" line per figure.
#include <windows.h>
#include <GL/gl.h>

#include <cstdio>
#include <vector>

#include "BenchSupport_win.h"
#include "check/FrameTicker_win.h"
#include "host/SaverMain_win.h"
#include "scene/Monitors_win.h"
#include "scene/RenderContext_win.h"
#include "scene/SceneFrame_win.h"
#include "settings/PictureSettings_win.h"
#include "settings/StartupResources_win.h"

using namespace WorkSpace;
using namespace bench;

namespace {

constexpr int kRuns = 3;
constexpr int kFrames = 200;

FrameTicker ticker(kSaverProbe);

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) { ticker.Tick(); }

struct LoopFigures {
    size_t monitors = 0;
    std::vector<double> probeFrames;
    std::vector<double> frameMs;
};

// Runs the saver's frame loop over a window of `width` x `height` at the
// screen's top-left corner, with a scene on each monitor it covers, until the
// probe has decided; then times frames of the running scene.
void RunLoop(int width, int height, LoopFigures& figures) {
    HWND window = MakeWindow(width, height);
    ticker.Restart(window);
    AttachWindow(window);
    SetMonitors(EnumerateMonitors(window));
    figures.monitors = TheRenderContext().monitors.size();
    ticker.StartBuild(L"", true, [] { SetupProjection(); });
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, Tick);
    MSG message;
    // The probe may decide before the build is done. A window without a
    // context is in error mode from the start: no probe runs.
    while ((ticker.Probing() || ticker.Building()) && !ticker.InErrorMode() &&
           GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    KillTimer(nullptr, timer);
    figures.probeFrames.push_back(ticker.ProbeFrames());
    std::vector<double> frames;
    for (int i = 0; i < kFrames; ++i) {
        const double start = Now();
        AnimateScene();
        RenderFrame(false);
        glFinish();
        frames.push_back(Now() - start);
    }
    figures.frameMs.push_back(Median(frames));
    DestroyGlContext();
    DestroyWindow(window);
}

}  // namespace

int main() {
    LoadStartupResources();
    Settings().AddDefaultPictures();
    TheScene().scheme = Falling;
    LoopFigures two, one;
    for (int run = 0; run < kRuns; ++run) {
        RunLoop(GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN), two);
        RunLoop(1920, 1080, one);
    }
    const double twoMs = Median(two.frameMs), oneMs = Median(one.frameMs);
    std::printf("Monitors benchmark: virtual screen %d x %d, %zu monitors, 3 default pictures, "
                "median of %d runs\n",
                GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                two.monitors, kRuns);
    std::printf("%-44s %10s %10s\n", "", "ms/frame", "probe");
    std::printf("%-44s %10.2f %10.0f\n", "  two monitors of 1920 x 1080", twoMs, Median(two.probeFrames));
    std::printf("%-44s %10.2f %10.0f\n", "  one monitor of 1920 x 1080", oneMs, Median(one.probeFrames));
    std::printf("frame-ms-two-monitors: %.2f\n", twoMs);
    std::printf("frame-ms-one-monitor: %.2f\n", oneMs);
    std::printf("frame-ms-two-monitors-vs-one: %.2f\n", oneMs > 0 ? twoMs / oneMs : 0.0);
    std::printf("probe-frames-two-monitors: %.0f\n", Median(two.probeFrames));
    std::printf("probe-frames-one-monitor: %.0f\n", Median(one.probeFrames));
    ReleaseProcessState();
    return 0;
}
