// Collection benchmark: the real Veltrano.scr with a whole collection, timed
// from outside as the saver benchmark times it. A folder of 100,000 files in
// nested folders (one tenth small pictures) listed as one folder, against the
// default pictures: start to a visible window and to the first pictures. 300
// listed pictures under scheme 0: how many distinct ones 10 starts fly (read
// from the order's record). The same 300 in this process's own saver window
// for a minute: the longest frame that swapped a texture in, against the
// median frame. And 300 photographs of 4000 x 3000: a start after a run whose
// background thread made it ready, against a default start. Prints figures
// only, ending with one "name: value" line per figure; run it through `make bench`.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "BenchSupport_win.h"
#include "SaverRuns_win.h"
#include "collection/Collection_win.h"
#include "collection/PictureOrder.h"
#include "common/WideText_win.h"
#include "e2e/driver/ConfigSession.h"
#include "host/Framework_win.h"
#include "host/SaverMain_win.h"
#include "scene/PictureLoader_win.h"
#include "settings/Paths_win.h"

using namespace WorkSpace;
using namespace bench;

namespace {

constexpr int kRuns = 3;
constexpr int kRotationStarts = 10;
constexpr double kSwapSettleMs = 5000;    // build, probe and the first wraps' decoding
constexpr double kSwapMeasureMs = 60000;  // a minute of flight

void ListIn(const e2e::SaverFolder& folder, const std::vector<std::wstring>& entries) {
    std::vector<std::string> narrow;
    for (const std::wstring& entry : entries) narrow.push_back(e2e::Narrow(entry));
    Testing::WriteBytes(folder.Path() + L"Veltrano.scr.settings", e2e::SettingsText(narrow, 0));
}

OrderRecord ReadRecord() {
    std::string bytes;
    OrderRecord record;
    if (!e2e::ReadWholeFile(UserOrderRecordPath(), bytes) ||
        !ParseOrderRecord(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), record)) {
        return OrderRecord();
    }
    return record;
}

void ForgetOrder() { DeleteFileW(UserOrderRecordPath().c_str()); }

// Waits until the picture cache stops growing: the run's background thread
// has made the next start ready (or 90 s have passed).
void WaitForCacheToSettle() {
    const std::wstring cache = UserPictureCacheFolder() + L"\\";
    int last = -1;
    double since = Now();
    const double start = Now();
    while (Now() - start < 90000) {
        const int count = Testing::CountFiles(cache);
        if (count != last) {
            last = count;
            since = Now();
        } else if (Now() - since > 4000) {
            return;
        }
        e2e::PumpFor(500);
    }
}

// The in-process frame loop: the interval from one tick to the next, and
// whether that tick swapped a picture in (a quad's proportions changed).
struct FrameWatch {
    double firstTick = -1;
    double lastTick = -1;
    std::vector<double> heights;
    std::vector<double> frames;
    std::vector<double> swapFrames;
    double longestOther = 0;  // the longest frame that swapped nothing
} watch;

bool WatchFrame(double now) {
    if (watch.firstTick < 0) watch.firstTick = now;
    std::vector<double> heights;
    for (const SceneQuad& quad : TheScene().quads) heights.push_back(quad.height / quad.width);
    if (now - watch.firstTick >= kSwapSettleMs && heights.size() == watch.heights.size()) {
        const double frame = now - watch.lastTick;
        watch.frames.push_back(frame);
        if (heights != watch.heights) {
            watch.swapFrames.push_back(frame);
        } else {
            watch.longestOther = std::max(watch.longestOther, frame);
        }
    }
    watch.heights = std::move(heights);
    watch.lastTick = now;
    return now - watch.firstTick < kSwapSettleMs + kSwapMeasureMs;
}

// Runs the saver window in this process over `pictures`, listed in the
// settings file this program's name gives.
void RunSwapLoop(const std::vector<std::wstring>& pictures) {
    std::vector<std::string> narrow;
    for (const std::wstring& picture : pictures) narrow.push_back(e2e::Narrow(picture));
    const std::wstring settings = SettingsFilePath();
    Testing::WriteBytes(settings, e2e::SettingsText(narrow, 0));
    RunWatchedSaverWindow(WatchFrame);
    DeleteFileW(settings.c_str());
}

}  // namespace

int main() {
    const std::wstring tree = Argument(1), rotation = Argument(2), photos = Argument(3);
    if (tree.empty() || rotation.empty() || photos.empty()) {
        std::fprintf(stderr, "usage: collection_bench_win <folder of 100,000 files> "
                             "<folder of 300 pictures> <folder of 300 photos 4000x3000>\n");
        return 2;
    }
    std::printf("screen %d x %d, %d runs each, median\n", GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN), kRuns);

    std::vector<double> upDefault, firstDefault, upTree, firstTree, coldPhotos, readyPhotos;
    {
        e2e::SaverFolder defaults(true);
        const std::vector<SaverRun> runs = FirstStarts(defaults, kRuns);
        upDefault = Figures(runs, &SaverRun::windowUpMs);
        firstDefault = Figures(runs, &SaverRun::firstPicturesMs);
    }
    {
        e2e::SaverFolder folder(true);
        ListIn(folder, {tree + L"\\"});
        const std::vector<SaverRun> runs = FirstStarts(folder, kRuns, ForgetOrder);
        upTree = Figures(runs, &SaverRun::windowUpMs);
        firstTree = Figures(runs, &SaverRun::firstPicturesMs);
    }

    // The pictures of each start are in the record once they have flown a
    // moment; a round that ends has flown every picture.
    const std::vector<std::wstring> three = PicturesIn(rotation, L"jpg");
    size_t distinct = 0;
    bool roundEnded = false;
    {
        e2e::SaverFolder folder(true);
        ListIn(folder, three);
        ForgetOrder();
        std::set<uint64_t> flown;
        for (int start = 0; start < kRotationStarts; ++start) {
            const OrderRecord before = ReadRecord();
            RunSaver(folder, false, [] { e2e::PumpFor(1000); });
            const OrderRecord after = ReadRecord();
            if (!before.flown.empty() && after.seed != before.seed) roundEnded = true;
            flown.insert(after.flown.begin(), after.flown.end());
        }
        distinct = roundEnded ? three.size() : flown.size();
    }

    {
        e2e::SaverFolder folder(true);
        ListIn(folder, PicturesIn(photos, L"jpg"));
        for (int i = 0; i < kRuns; ++i) {
            EmptyPictureCache();
            ForgetOrder();
            const SaverRun cold = RunSaver(folder, false, WaitForCacheToSettle);
            if (cold.firstPicturesMs >= 0) coldPhotos.push_back(cold.firstPicturesMs);
            const SaverRun ready = RunSaver(folder);
            if (ready.firstPicturesMs >= 0) readyPhotos.push_back(ready.firstPicturesMs);
        }
    }

    ForgetOrder();
    RunSwapLoop(three);
    // The run's threads stop with its window, after the picture in hand.
    for (int i = 0; i < 250 && DecodersRunning(); ++i) Sleep(20);
    ReleaseProcessState();
    ForgetOrder();

    const double swapMax = watch.swapFrames.empty()
                               ? 0.0
                               : *std::max_element(watch.swapFrames.begin(), watch.swapFrames.end());
    const double frameMedian = Median(watch.frames);
    std::printf("start to a visible window, 3 default pictures:   %8.0f ms\n", Median(upDefault));
    std::printf("start to a visible window, folder of 100,000:    %8.0f ms\n", Median(upTree));
    std::printf("start to first pictures, 3 default pictures:     %8.0f ms\n", Median(firstDefault));
    std::printf("start to first pictures, folder of 100,000:      %8.0f ms\n", Median(firstTree));
    std::printf("distinct pictures of %d starts, 300 listed:      %8zu%s\n", kRotationStarts, distinct,
                roundEnded ? " (a round ended: every picture flew)" : "");
    std::printf("a minute of flight, 300 pictures: %zu frames, %zu swapped a picture in\n",
                watch.frames.size(), watch.swapFrames.size());
    std::printf("  median frame:                                  %8.2f ms\n", frameMedian);
    std::printf("  longest frame that swapped:                    %8.2f ms\n", swapMax);
    std::printf("  longest frame that swapped nothing:            %8.2f ms\n", watch.longestOther);
    const auto overOneAndAHalf = [frameMedian](const std::vector<double>& frames) {
        return std::count_if(frames.begin(), frames.end(),
                             [frameMedian](double frame) { return frame > 1.5 * frameMedian; });
    };
    std::printf("  frames over 1.5 x the median: %td of the swaps, %td of all\n",
                overOneAndAHalf(watch.swapFrames), overOneAndAHalf(watch.frames));
    std::printf("start to first pictures, 300 photos 4000x3000:   %8.0f ms\n", Median(coldPhotos));
    std::printf("  next start, made ready by the run before:      %8.0f ms\n", Median(readyPhotos));
    std::printf("window-up-default-ms: %.0f\n", Median(upDefault));
    std::printf("folder-100k-window-up-ms: %.0f\n", Median(upTree));
    std::printf("first-pictures-default-ms: %.0f\n", Median(firstDefault));
    std::printf("folder-100k-first-pictures-ms: %.0f\n", Median(firstTree));
    std::printf("rotation-distinct-after-10-starts: %zu\n", distinct);
    std::printf("swap-frame-ms-max-vs-median: %.2f\n", frameMedian > 0 ? swapMax / frameMedian : 0.0);
    std::printf("next-start-vs-default: %.2f\n",
                Median(firstDefault) > 0 ? Median(readyPhotos) / Median(firstDefault) : 0.0);
    return 0;
}
