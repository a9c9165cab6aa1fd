// Saver benchmark: the real Veltrano.scr started as Windows starts it, timed
// from outside from process start to a visible window and to the first frame
// with pictures (start-up, the scene build and the frame-rate probe), from a
// key pressed while the pictures still load to the process's end, on first starts (the picture cache emptied before
// each) and on a second start with the 21 photos (the cache as the first left
// it), also with 21 PNG pictures, and from a key press to the process's end;
// the saver's peak working set up to its first pictures of the 21 photos and
// of the 21 PNG pictures; and the
// frame rate and CPU use of the saver window's own frame loop, run in this
// process with a hook that counts its ticks (Wine reports no CPU times of
// another process). With the arguments `peak <settings file>` it measures
// only the peak working set of first starts with the pictures listed there,
// on the screen it runs on. Prints figures
// only, ending with one "name: value" line per figure; run it through `make bench`.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport_win.h"
#include "common/Handles_win.h"
#include "e2e/driver/Driver.h"
#include "e2e/driver/SaverWindows.h"
#include "host/Framework_win.h"
#include "host/SaverMain_win.h"
#include "scene/PictureCache_win.h"

using namespace WorkSpace;
using namespace bench;

namespace {

constexpr int kRuns = 3;
constexpr DWORD kSettleMs = 2000;   // after the window's first tick: probe done, pictures flying
constexpr DWORD kMeasureMs = 5000;  // length of the frame-rate and CPU measurement

// Seconds of CPU the process has used so far.
double CpuSeconds(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0.0;
    auto seconds = [](FILETIME t) {
        return double((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

// True once a quarter of a sparse sample of the screen is lit: pictures fly.
bool PicturesShown() {
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
HWND WaitForVisibleSaver(const e2e::Process& saver, double start, double timeoutMs, double& upMs) {
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
// then presses a key and waits for its end. With `oneProcessor` the saver may run on one processor
// only, where its build decodes one picture after the other on its own thread;
// the mask is set long before the build, which follows the window and context.
SaverRun RunSaver(const e2e::SaverFolder& folder, bool oneProcessor = false) {
    SaverRun run;
    e2e::MoveCursorTo(500, 400);
    e2e::Process saver;
    const double start = Now();
    if (!saver.Start(folder.Saver(), L"/s")) return run;
    if (oneProcessor) {
        const UniqueKernelHandle process(OpenProcess(
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
    HWND window = e2e::WaitForWindow(saver.Id(), e2e::kSaverClass, L"Screen Saver", 1000);
    if (window) e2e::WaitUntilForeground(window, 2000);
    const double pressed = Now();
    e2e::PressKey(VK_ESCAPE);
    if (saver.WaitForExit(30000)) run.keyToExitMs = Now() - pressed;
    return run;
}

// Returns the time from a key pressed `delayMs` after the saver's window is
// up (its pictures still loading on a first start) to the end of the process;
// -1 when that could not be measured.
double KeyDuringBuildToExitMs(const e2e::SaverFolder& folder, DWORD delayMs) {
    e2e::MoveCursorTo(500, 400);
    e2e::Process saver;
    const double start = Now();
    if (!saver.Start(folder.Saver(), L"/s")) return -1;
    double upMs = 0;
    HWND window = WaitForVisibleSaver(saver, start, 60000, upMs);
    if (!window || !e2e::WaitUntilForeground(window, 2000)) return -1;
    e2e::PumpFor(delayMs);
    const double pressed = Now();
    e2e::PressKey(VK_ESCAPE);
    return saver.WaitForExit(30000) ? Now() - pressed : -1;
}

// Empties the picture cache of the user running the benchmark, which the
// saver started from here uses too, so that its next start decodes every picture.
void EmptyPictureCache() { PictureCache(UserPictureCacheFolder()).Trim(0); }

// The in-process frame loop: ticks of the saver window counted as they leave the queue.
struct TickCount {
    double firstTick = -1;
    double measureStart = 0;
    double cpuStart = 0;
    int ticksAtStart = 0;
    int ticks = 0;
    double fps = 0;
    double cpuPerSecond = 0;
} tickCount;

LRESULT CALLBACK CountTicks(int code, WPARAM removal, LPARAM param) {
    const MSG* message = reinterpret_cast<const MSG*>(param);
    if (code == HC_ACTION && removal == PM_REMOVE && message->message == WM_TIMER &&
        message->hwnd == Framework().mainWindow) {
        const double now = Now();
        if (tickCount.firstTick < 0) tickCount.firstTick = now;
        ++tickCount.ticks;
        if (tickCount.ticksAtStart == 0 && now - tickCount.firstTick >= kSettleMs) {
            tickCount.ticksAtStart = tickCount.ticks;
            tickCount.measureStart = now;
            tickCount.cpuStart = CpuSeconds(GetCurrentProcess());
        } else if (tickCount.ticksAtStart > 0 && tickCount.fps == 0 &&
                   now - tickCount.measureStart >= kMeasureMs) {
            const double seconds = (now - tickCount.measureStart) / 1000.0;
            tickCount.fps = (tickCount.ticks - tickCount.ticksAtStart) / seconds;
            tickCount.cpuPerSecond = (CpuSeconds(GetCurrentProcess()) - tickCount.cpuStart) / seconds;
            PostMessageW(message->hwnd, WM_CLOSE, 0, 0);
        }
    }
    return CallNextHookEx(nullptr, code, removal, param);
}

// Runs the saver window in this process; without a settings file beside this
// program it flies the default pictures that the build puts beside it.
void RunFrameLoop() {
    Framework().instance = GetModuleHandleW(nullptr);
    e2e::MoveCursorTo(500, 400);
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, CountTicks, nullptr, GetCurrentThreadId());
    RunSaverWindow(nullptr);
    UnhookWindowsHookEx(hook);
}


// Prints the median peak working set of first starts with the pictures that
// `settingsFile` lists, named for their count and the screen's height.
int PeakOnly(const std::wstring& settingsFile, const char* pictures) {
    e2e::SaverFolder folder(true);
    CopyFileW(settingsFile.c_str(), (folder.Path() + L"Veltrano.scr.settings").c_str(), FALSE);
    std::vector<double> peaks;
    for (int i = 0; i < kRuns; ++i) {
        EmptyPictureCache();
        const SaverRun run = RunSaver(folder);
        if (run.peakWorkingSetMb >= 0) peaks.push_back(run.peakWorkingSetMb);
    }
    std::printf("peak-working-set-%s-%dp-mb: %.0f\n", pictures, GetSystemMetrics(SM_CYSCREEN),
                Median(peaks));
    return 0;
}

}  // namespace

int main() {
    if (Argument(1) == L"peak") return PeakOnly(Argument(2), "30x12mp");
    const std::wstring settingsFile = Argument(1), pngSettingsFile = Argument(2);
    if (settingsFile.empty() || pngSettingsFile.empty()) {
        std::fprintf(stderr, "usage: saver_bench_win <settings file listing 21 pictures of 4000 x 3000> "
                             "<settings file listing 21 PNG pictures>\n");
        return 2;
    }
    std::printf("screen %d x %d, %d runs each, median\n", GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN), kRuns);

    // Every start is a first start, save the second start with the 21 photos.
    std::vector<double> firstDefault, firstPhotos, firstPhotosWarm, firstPhotosOneByOne, keyToExit,
        peakPhotos, upDefault, upPhotos, keyDuringBuild, firstPngs, peakPngs;
    {
        e2e::SaverFolder defaults(true);
        for (int i = 0; i < kRuns; ++i) {
            EmptyPictureCache();
            const SaverRun run = RunSaver(defaults);
            if (run.windowUpMs >= 0) upDefault.push_back(run.windowUpMs);
            if (run.firstPicturesMs >= 0) firstDefault.push_back(run.firstPicturesMs);
            if (run.keyToExitMs >= 0) keyToExit.push_back(run.keyToExitMs);
        }
    }
    {
        e2e::SaverFolder big(true);
        CopyFileW(settingsFile.c_str(), (big.Path() + L"Veltrano.scr.settings").c_str(), FALSE);
        for (int i = 0; i < kRuns; ++i) {
            EmptyPictureCache();
            const SaverRun run = RunSaver(big);
            if (run.windowUpMs >= 0) upPhotos.push_back(run.windowUpMs);
            if (run.firstPicturesMs >= 0) firstPhotos.push_back(run.firstPicturesMs);
            if (run.peakWorkingSetMb >= 0) peakPhotos.push_back(run.peakWorkingSetMb);
            if (run.keyToExitMs >= 0) keyToExit.push_back(run.keyToExitMs);
            const SaverRun warm = RunSaver(big);  // the cache as the first start left it
            if (warm.firstPicturesMs >= 0) firstPhotosWarm.push_back(warm.firstPicturesMs);
            EmptyPictureCache();
            const SaverRun oneByOne = RunSaver(big, true);
            if (oneByOne.firstPicturesMs >= 0) firstPhotosOneByOne.push_back(oneByOne.firstPicturesMs);
            EmptyPictureCache();
            const double keyMs = KeyDuringBuildToExitMs(big, 300);
            if (keyMs >= 0) keyDuringBuild.push_back(keyMs);
        }
    }
    {
        e2e::SaverFolder pngs(true);
        CopyFileW(pngSettingsFile.c_str(), (pngs.Path() + L"Veltrano.scr.settings").c_str(), FALSE);
        for (int i = 0; i < kRuns; ++i) {
            EmptyPictureCache();
            const SaverRun run = RunSaver(pngs);
            if (run.firstPicturesMs >= 0) firstPngs.push_back(run.firstPicturesMs);
            if (run.peakWorkingSetMb >= 0) peakPngs.push_back(run.peakWorkingSetMb);
            if (run.keyToExitMs >= 0) keyToExit.push_back(run.keyToExitMs);
        }
    }
    RunFrameLoop();
    ReleaseProcessState();

    std::printf("start to a visible window, 3 default pictures: %8.0f ms\n", Median(upDefault));
    std::printf("start to a visible window, 21 photos:          %8.0f ms\n", Median(upPhotos));
    std::printf("key 300 ms into the build to process end:      %8.0f ms\n", Median(keyDuringBuild));
    std::printf("start to first pictures, 3 default pictures:   %8.0f ms\n", Median(firstDefault));
    std::printf("start to first pictures, 21 photos 4000x3000:  %8.0f ms\n", Median(firstPhotos));
    std::printf("  the same on one processor, one after another:%8.0f ms\n",
                Median(firstPhotosOneByOne));
    std::printf("  second start, pictures from the cache:       %8.0f ms\n", Median(firstPhotosWarm));
    std::printf("start to first pictures, 21 PNG pictures:      %8.0f ms\n", Median(firstPngs));
    std::printf("peak working set, 21 photos:                   %8.0f MB\n", Median(peakPhotos));
    std::printf("peak working set, 21 PNG pictures:             %8.0f MB\n", Median(peakPngs));
    std::printf("frame loop, default pictures:                  %8.1f frames/s\n", tickCount.fps);
    std::printf("CPU of that loop:                              %8.2f s/s\n", tickCount.cpuPerSecond);
    std::printf("key press to process end:                      %8.0f ms\n", Median(keyToExit));
    std::printf("window-up-default-ms: %.0f\n", Median(upDefault));
    std::printf("window-up-ms: %.0f\n", Median(upPhotos));
    std::printf("key-during-build-to-exit-ms: %.0f\n", Median(keyDuringBuild));
    std::printf("first-pictures-default-ms: %.0f\n", Median(firstDefault));
    std::printf("first-pictures-21x12mp-ms: %.0f\n", Median(firstPhotos));
    std::printf("first-pictures-21x12mp-one-processor-ms: %.0f\n", Median(firstPhotosOneByOne));
    std::printf("first-pictures-21x12mp-warm-ms: %.0f\n", Median(firstPhotosWarm));
    std::printf("first-pictures-21png-ms: %.0f\n", Median(firstPngs));
    const auto overDefault = [&firstDefault](const std::vector<double>& starts) {
        return Median(firstDefault) > 0 ? Median(starts) / Median(firstDefault) : 0.0;
    };
    std::printf("first-pictures-21x12mp-vs-default: %.2f\n", overDefault(firstPhotos));
    std::printf("warm-vs-default: %.2f\n", overDefault(firstPhotosWarm));
    std::printf("peak-working-set-21x12mp-mb: %.0f\n", Median(peakPhotos));
    std::printf("peak-working-set-21png-mb: %.0f\n", Median(peakPngs));
    std::printf("fps-1024x768: %.1f\n", tickCount.fps);
    std::printf("cpu-s-per-s: %.2f\n", tickCount.cpuPerSecond);
    std::printf("key-to-exit-ms: %.0f\n", Median(keyToExit));
    return 0;
}
