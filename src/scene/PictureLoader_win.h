#pragma once
// Picture files decoded on a few threads of their own while the calling
// thread uploads them one by one in list order. The outcome (which pictures
// load, under which names, in which order) is that of decoding them one
// after the other on the calling thread; only the time differs.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "resources/PictureDecoding_win.h"
#include "scene/LoadOrder.h"
#include "scene/PictureCache_win.h"

namespace WorkSpace {

// Called on the calling thread with a decoded picture and its index in the
// list; returns true when the picture loaded (its texture was made).
using PictureUpload = std::function<bool(size_t index, ImageHolder& holder)>;

// What a load did; for tests and benchmarks.
struct PictureLoadReport {
    size_t workers = 0;      // decoding threads that ran (0: the caller decoded)
    size_t decoded = 0;      // pictures whose decoding was started
    size_t loaded = 0;       // uploads that returned true
    size_t peakPending = 0;  // most pictures started and not yet uploaded at once
    size_t kept = 0;         // entries written to the picture cache
};

// Returns the decoding threads a build starts on this machine: one per
// processor the process may run on, at most four, none with one processor.
size_t MachineLoadWorkers();

struct LoadState;

// A load that runs while its caller goes on with other work (a window's
// messages): the decoding threads work meanwhile, and each Step hands the
// pictures they finished to `upload` on the calling thread, strictly in list
// order, until `wanted` uploads returned true or the list ends. Up to
// `workers` threads decode, never more than LoadWindow(workers) pictures ahead
// of the uploads and never a picture beyond the one that completes `wanted`.
// Each picture is decoded at the size of the nearest of `slotRules` it fills
// (PictureTextureRule; the classic table without rules), and its mipmap
// levels are made where it was decoded.
// With no thread started (0 asked, or none could be made) each Step decodes
// the next picture itself. With a `cache`, a picture it holds is taken from
// it instead, and each decoded one is kept there once it has been handed on.
class PictureLoad {
public:
    PictureLoad(std::vector<std::wstring> pictures, size_t wanted, size_t workers,
                PictureUpload upload, const PictureCache* cache = nullptr,
                std::vector<TextureSideRule> slotRules = {});
    PictureLoad(const PictureLoad&) = delete;
    PictureLoad& operator=(const PictureLoad&) = delete;
    // A load dropped before it is complete is abandoned: its threads stop
    // after the picture in hand, and nobody waits for them.
    ~PictureLoad();

    // Returns true once the load is complete, after uploading every picture
    // that is next in order and decoded. Waits for no decoder: one may still
    // be writing its cache entry, and ends on its own.
    bool Step();
    // Returns when a decoder has finished a picture, or at once when no
    // thread decodes or the load is complete.
    void WaitForPicture();
    // Waits until every decoding thread has ended, each after writing its
    // cache entry, and counts the entries kept. Not for a window's thread.
    void WaitForThreads();
    // What the load did; complete once Step returned true, its `kept` once
    // WaitForThreads returned.
    const PictureLoadReport& Report() const { return report_; }

private:
    void StopThreads();

    std::shared_ptr<LoadState> state_;
    PictureUpload upload_;
    std::array<std::thread, kMaxLoadWorkers> threads_;
    size_t threadCount_ = 0;
    PictureLoadReport report_;
};

// Returns what the load did after running it to its end: PictureLoad, with
// the caller waiting for each picture and then for its threads.
PictureLoadReport LoadPictures(const std::vector<std::wstring>& pictures, size_t wanted,
                               size_t workers, const PictureUpload& upload,
                               const PictureCache* cache = nullptr);

// Returns true while decoding threads still run or hold a load's state; at
// the end of the process only those of an abandoned or completed load can,
// and the process then ends without releasing the image services under them.
bool DecodersRunning();

}  // namespace WorkSpace
