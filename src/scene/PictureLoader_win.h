#pragma once
// Picture files decoded on a few threads of their own while the calling
// thread uploads them one by one in list order. The outcome (which pictures
// load, under which names, in which order) is that of decoding them one
// after the other on the calling thread; only the time differs.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "resources/PictureDecoding_win.h"
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

// Decodes pictures[0], pictures[1], ... with LoadPictureFile and hands every
// decoded one to `upload` on the calling thread, strictly in list order, until
// `wanted` uploads returned true or the list ends. Up to `workers` threads
// decode meanwhile, never more than LoadWindow(workers) pictures ahead of the
// uploads and never a picture beyond the one that completes `wanted`; the
// threads end before this returns. With no thread started (0 asked, or none
// could be made) the caller decodes each picture itself. With a `cache`, a
// picture it holds is taken from it instead, and each decoded one is kept
// there once it has been handed on.
PictureLoadReport LoadPictures(const std::vector<std::wstring>& pictures, size_t wanted,
                               size_t workers, const PictureUpload& upload,
                               const PictureCache* cache = nullptr);

}  // namespace WorkSpace
