#include "scene/PictureLoader_win.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "scene/TextureEntry.h"
#include "scene/TexturePlan.h"

namespace WorkSpace {
namespace {

// Decoding threads that still hold a load's state, of any load.
std::atomic<int> runningDecoders{0};

}  // namespace

// A picture whose decoder is done, waiting for its upload.
struct DecodedPicture {
    ImageHolder holder;
    bool decoded = false;
};

// What the decoding threads and the uploading thread share, all of it
// touched only under `lock` except the read-only picture list. The threads
// share its ownership, so that an abandoned load's threads can finish the
// picture in hand after the load is gone.
struct LoadState {
    LoadState(std::vector<std::wstring> pictures, size_t wanted, size_t window,
              const PictureCache* cache, std::vector<TextureSideRule> slotRules)
        : pictures(std::move(pictures)), cache(cache), slotRules(std::move(slotRules)),
          order(this->pictures.size(), wanted, window) {}
    // The last owner trims the cache when the load added to it: after every
    // entry of the load is written, on whichever thread lets go last.
    ~LoadState() {
        if (kept > 0) cache->Trim();
    }

    // Decodes a claimed picture (or takes it from the cache) at the size of
    // the nearest slot it fills, outside the held lock, makes its mipmap
    // levels and files it for its upload; its cache entry, if any, is left in
    // `pending` for Keep.
    void Decode(std::unique_lock<std::mutex>& held, size_t index, PendingEntry& pending) {
        held.unlock();
        DecodedPicture picture;
        try {
            const TextureSideRule side = PictureTextureRule(slotRules, index, pictures.size());
            picture.decoded = cache ? cache->Load(pictures[index], side, picture.holder, pending)
                                    : LoadPictureFile(picture.holder, pictures[index], side);
            if (picture.decoded) MakeMipLevels(picture.holder);
        } catch (...) {
            picture = DecodedPicture();  // no memory to decode it: it fails as it would alone
            pending = PendingEntry();
        }
        held.lock();
        places[index % order.Window()] = std::move(picture);
        order.Finish(index);
    }

    // Writes a decoded picture's cache entry outside the held lock, after the
    // picture was filed, so the upload never waits for the write.
    void Keep(std::unique_lock<std::mutex>& held, PendingEntry& pending) {
        if (pending.bytes.empty()) return;
        held.unlock();
        const bool written = cache->Keep(pending);
        held.lock();
        kept += written;
    }

    const std::vector<std::wstring> pictures;
    const PictureCache* cache;
    const std::vector<TextureSideRule> slotRules;  // none: the classic table
    size_t kept = 0;
    LoadOrder order;
    std::array<DecodedPicture, kMaxLoadWindow> places;
    bool stopping = false;
    std::mutex lock;
    std::condition_variable workReady;     // a picture may be started, or the load ends
    std::condition_variable pictureReady;  // a decoder is done with a picture
};

namespace {

void DecodeLoop(std::shared_ptr<LoadState> shared) {
    {
        LoadState& state = *shared;
        std::unique_lock<std::mutex> held(state.lock);
        while (!state.stopping) {
            size_t index = 0;
            if (state.order.Start(index)) {
                PendingEntry pending;
                state.Decode(held, index, pending);
                state.pictureReady.notify_one();
                state.Keep(held, pending);
            } else {
                state.workReady.wait(held);
            }
        }
    }
    // The last owner of an abandoned load disposes its undelivered pictures:
    // that happens before the count says this decoder is gone, so the process
    // never releases the image services under it.
    shared.reset();
    --runningDecoders;
}

}  // namespace

size_t MachineLoadWorkers() {
    DWORD_PTR processMask = 0;
    DWORD_PTR systemMask = 0;
    uint32_t processors = 0;
    if (GetProcessAffinityMask(GetCurrentProcess(), &processMask, &systemMask)) {
        for (; processMask; processMask &= processMask - 1) ++processors;
    } else {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        processors = info.dwNumberOfProcessors;
    }
    return LoadWorkerCount(processors);
}

PictureLoad::PictureLoad(std::vector<std::wstring> pictures, size_t wanted, size_t workers,
                         PictureUpload upload, const PictureCache* cache,
                         std::vector<TextureSideRule> slotRules)
    : upload_(std::move(upload)) {
    // The image services start here, once, before any thread could race to start them.
    if (!StartImageServices()) workers = 0;
    workers = std::min(workers, threads_.size());
    state_ = std::make_shared<LoadState>(std::move(pictures), wanted, LoadWindow(workers), cache,
                                         std::move(slotRules));
    for (; threadCount_ < workers; ++threadCount_) {
        ++runningDecoders;
        try {
            threads_[threadCount_] = std::thread(DecodeLoop, state_);
        } catch (...) {
            --runningDecoders;
            break;  // fewer threads, or none: the caller decodes
        }
    }
    report_.workers = threadCount_;
}

PictureLoad::~PictureLoad() {
    StopThreads();
    for (size_t i = 0; i < threadCount_; ++i) {
        if (threads_[i].joinable()) threads_[i].detach();
    }
}

// Tells the threads to stop after the picture in hand. Called without the
// state's lock.
void PictureLoad::StopThreads() {
    {
        std::lock_guard<std::mutex> held(state_->lock);
        state_->stopping = true;
    }
    state_->workReady.notify_all();
}

void PictureLoad::WaitForThreads() {
    StopThreads();
    for (size_t i = 0; i < threadCount_; ++i) {
        if (threads_[i].joinable()) threads_[i].join();
    }
    std::lock_guard<std::mutex> held(state_->lock);
    report_.kept = state_->kept;
}

bool PictureLoad::Step() {
    LoadState& state = *state_;
    std::unique_lock<std::mutex> held(state.lock);
    bool decodedHere = false;
    while (!state.order.Complete()) {
        size_t index = 0;
        if (!state.order.NextToTake(index)) {
            // Nothing to hand on yet: the threads are at it, or the caller
            // decodes one picture per step itself.
            if (threadCount_ > 0 || decodedHere || !state.order.Start(index)) return false;
            PendingEntry pending;
            state.Decode(held, index, pending);
            state.Keep(held, pending);
            decodedHere = true;
            continue;
        }
        DecodedPicture picture = std::move(state.places[index % state.order.Window()]);
        held.unlock();
        bool loaded = false;
        if (picture.decoded) {
            try {
                loaded = upload_(index, picture.holder);
            } catch (...) {
                loaded = false;  // the upload could not be made: the picture is left out
            }
        }
        picture.holder = ImageHolder();
        held.lock();
        state.order.Take(index, loaded);
        state.workReady.notify_all();
    }
    report_.decoded = state.order.Started();
    report_.loaded = state.order.Loaded();
    report_.peakPending = state.order.PeakPending();
    report_.kept = state.kept;
    // A decoder may still be writing an entry after the last picture was
    // taken, perhaps to a stalled disk: it ends on its own, unwaited.
    held.unlock();
    StopThreads();
    return true;
}

void PictureLoad::WaitForPicture() {
    if (threadCount_ == 0) return;
    LoadState& state = *state_;
    std::unique_lock<std::mutex> held(state.lock);
    size_t index = 0;
    if (!state.order.Complete() && !state.order.NextToTake(index)) state.pictureReady.wait(held);
}

PictureLoadReport LoadPictures(const std::vector<std::wstring>& pictures, size_t wanted,
                               size_t workers, const PictureUpload& upload,
                               const PictureCache* cache) {
    PictureLoad load(pictures, wanted, workers, upload, cache);
    while (!load.Step()) load.WaitForPicture();
    load.WaitForThreads();
    return load.Report();
}

bool DecodersRunning() { return runningDecoders.load() > 0; }

}  // namespace WorkSpace
