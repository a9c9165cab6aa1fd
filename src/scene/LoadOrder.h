#pragma once
// The bookkeeping of a picture build that decodes ahead of its uploads: which
// picture a decoder may start next, which finished picture the uploader takes
// next, and when the build is complete. Pictures are taken strictly in list
// order, so the outcome is that of loading them one after the other.
// Portable and single-threaded: the caller guards it with its own lock.
#include <array>
#include <cstddef>
#include <cstdint>

namespace WorkSpace {

// Most decoding threads a build starts, whatever the processor count.
constexpr size_t kMaxLoadWorkers = 4;
// Most pictures started and not yet taken: one in each thread plus two done.
constexpr size_t kMaxLoadWindow = kMaxLoadWorkers + 2;

// Returns the number of decoding threads for `processors` processors: one per
// processor, at most kMaxLoadWorkers. One processor gives 0: a thread of its
// own would only take turns with the caller, so the caller decodes itself.
size_t LoadWorkerCount(uint32_t processors);

// Returns the most pictures that may be started but not yet taken for
// `workers` decoding threads: one in each thread plus two finished ones.
size_t LoadWindow(size_t workers);

class LoadOrder {
public:
    // A build over `count` pictures that ends once `wanted` pictures have
    // loaded, with at most `window` (1 to kMaxLoadWindow, clamped) pictures
    // started and not yet taken at any time.
    LoadOrder(size_t count, size_t wanted, size_t window);

    // Returns true and claims the next picture in `index` when a decoder may
    // start it now: it is in the list, the window has room, and the pictures
    // loaded plus those under way are still fewer than wanted. So no picture
    // is decoded that loading one after the other would not have decoded.
    bool Start(size_t& index);
    // Records that the decoder of a started picture is done with it.
    void Finish(size_t index);
    // Returns true with the first picture not yet taken in `index` when its
    // decoder is done; that picture is next to upload.
    bool NextToTake(size_t& index) const;
    // Records that picture `index` (the one NextToTake gave) was uploaded,
    // `loaded` telling whether it made a texture; its memory is then free.
    void Take(size_t index, bool loaded);
    // True once `wanted` pictures have loaded or every picture was taken.
    bool Complete() const;

    size_t Window() const { return window_; }
    size_t Started() const { return started_; }
    size_t Loaded() const { return loaded_; }
    // Pictures uploaded or failed, from the first on: the part of the list the build used.
    size_t Taken() const { return taken_; }
    // Most pictures ever started and not yet taken at one time.
    size_t PeakPending() const { return peakPending_; }

private:
    size_t Pending() const { return started_ - taken_; }

    size_t count_;
    size_t wanted_;
    size_t window_;
    size_t started_ = 0;
    size_t taken_ = 0;
    size_t loaded_ = 0;
    size_t peakPending_ = 0;
    std::array<bool, kMaxLoadWindow> finished_{};  // per place: picture index % window
};

}  // namespace WorkSpace
