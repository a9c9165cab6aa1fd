#pragma once
// What the saver benchmarks share: the real Veltrano.scr started from outside
// as Windows starts it, timed to a visible window, to its first pictures and
// from a key to its end.
#include <windows.h>

#include <functional>
#include <vector>

#include "BenchSupport_win.h"
#include "common/Handles_win.h"
#include "e2e/driver/Driver.h"
#include "e2e/driver/SaverWindows.h"
#include "host/Framework_win.h"
#include "scene/PictureCache_win.h"

namespace bench {

// True once a quarter of a sparse sample of the screen is lit: pictures fly.
inline bool PicturesShown() {
    const e2e::Screenshot shot = e2e::CaptureScreen();
    int lit = 0, total = 0;
    for (int y = 0; y < shot.height; y += 24) {
        for (int x = 0; x < shot.width; x += 24, ++total) lit += (shot.At(x, y) & 0xF0F0F0u) != 0;
    }
    return total && lit * 10 > total;
}

struct SaverRun {
    double windowUpMs = -1;  // from the start to a visible saver window
    double firstPicturesMs = -1;
    double keyToExitMs = -1;
    double peakWorkingSetMb = -1;  // of the saver, up to its first pictures
};

// Returns the saver's full-screen window once it is visible, or none after
// `timeoutMs`; its time from `start` in `upMs`.
inline HWND WaitForVisibleSaver(const e2e::Process& saver, double start, double timeoutMs, double& upMs) {
    while (Now() - start < timeoutMs && saver.IsRunning()) {
        for (HWND window : e2e::WindowsOf(saver.Id())) {
            if (IsWindowVisible(window) && e2e::ClassOf(window) == e2e::kSaverClass) {
                upMs = Now() - start;
                return window;
            }
        }
        e2e::PumpFor(0);
    }
    return nullptr;
}

// Starts the saver in `folder`, waits for its window and then its pictures,
// runs `whileFlying` (when given), then presses a key and waits for its end.
// With `oneProcessor` the saver may run on one processor only, where its build
// decodes one picture after the other on its own thread; the mask is set long
// before the build, which follows the window and context.
inline SaverRun RunSaver(const e2e::SaverFolder& folder, bool oneProcessor = false,
                         const std::function<void()>& whileFlying = {}) {
    SaverRun run;
    e2e::MoveCursorTo(500, 400);
    e2e::Process saver;
    const double start = Now();
    if (!saver.Start(folder.Saver(), L"/s")) return run;
    if (oneProcessor) {
        const WorkSpace::UniqueKernelHandle process(OpenProcess(
            PROCESS_SET_INFORMATION | PROCESS_QUERY_INFORMATION, FALSE, saver.Id()));
        if (!process || !SetProcessAffinityMask(process.Get(), 1)) return run;
    }
    if (!WaitForVisibleSaver(saver, start, 120000, run.windowUpMs)) return run;
    while (!PicturesShown()) {
        if (Now() - start > 120000 || !saver.IsRunning()) return run;
        e2e::PumpFor(0);
    }
    run.firstPicturesMs = Now() - start;
    run.peakWorkingSetMb = WorkingSetOf(saver.Id()).peakMb;
    if (whileFlying) whileFlying();
    HWND window = e2e::WaitForWindow(saver.Id(), e2e::kSaverClass, L"Screen Saver", 1000);
    if (window) e2e::WaitUntilForeground(window, 2000);
    const double pressed = Now();
    e2e::PressKey(VK_ESCAPE);
    if (saver.WaitForExit(30000)) run.keyToExitMs = Now() - pressed;
    return run;
}

// Returns the figures `field` of the runs that measured it.
inline std::vector<double> Figures(const std::vector<SaverRun>& runs, double SaverRun::*field) {
    std::vector<double> figures;
    for (const SaverRun& run : runs) {
        if (run.*field >= 0) figures.push_back(run.*field);
    }
    return figures;
}

// Empties the picture cache of the user running the benchmark, which the
// saver started from here uses too, so that its next start decodes every picture.
inline void EmptyPictureCache() { WorkSpace::PictureCache(WorkSpace::UserPictureCacheFolder()).Trim(0); }

// Called with the time of each tick of the saver window run in this process,
// as the tick leaves the queue; returns false to close the window.
using TickWatcher = bool (*)(double now);

inline TickWatcher& CurrentTickWatcher() {
    static TickWatcher watcher = nullptr;
    return watcher;
}

inline LRESULT CALLBACK WatchSaverTicks(int code, WPARAM removal, LPARAM param) {
    const MSG* message = reinterpret_cast<const MSG*>(param);
    if (code == HC_ACTION && removal == PM_REMOVE && message->message == WM_TIMER &&
        message->hwnd == WorkSpace::Framework().mainWindow && !CurrentTickWatcher()(Now())) {
        PostMessageW(message->hwnd, WM_CLOSE, 0, 0);
    }
    return CallNextHookEx(nullptr, code, removal, param);
}

// Runs the saver window in this process until `watcher` closes it; it flies
// what the settings file this program's name gives lists, or without one the
// default pictures that the build puts beside this program.
inline void RunWatchedSaverWindow(TickWatcher watcher) {
    CurrentTickWatcher() = watcher;
    WorkSpace::Framework().instance = GetModuleHandleW(nullptr);
    e2e::MoveCursorTo(500, 400);
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, WatchSaverTicks, nullptr, GetCurrentThreadId());
    WorkSpace::RunSaverWindow(nullptr);
    UnhookWindowsHookEx(hook);
}

// Returns `runs` first starts of the saver in `folder`: the picture cache
// emptied, and `before` run when given, ahead of each.
inline std::vector<SaverRun> FirstStarts(const e2e::SaverFolder& folder, int runs,
                                         const std::function<void()>& before = {}) {
    std::vector<SaverRun> starts;
    for (int i = 0; i < runs; ++i) {
        EmptyPictureCache();
        if (before) before();
        starts.push_back(RunSaver(folder));
    }
    return starts;
}

}  // namespace bench
