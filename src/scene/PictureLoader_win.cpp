#include "scene/PictureLoader_win.h"

#include <windows.h>

#include <array>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "scene/LoadOrder.h"
#include "scene/TextureEntry.h"

namespace WorkSpace {
namespace {

// A picture whose decoder is done, waiting for its upload.
struct DecodedPicture {
    ImageHolder holder;
    bool decoded = false;
};

// What the decoding threads and the uploading thread share, all of it
// touched only under `lock` except the read-only picture list.
struct LoadState {
    LoadState(const std::vector<std::wstring>& pictures, size_t wanted, size_t window,
              const PictureCache* cache)
        : pictures(pictures), cache(cache), order(pictures.size(), wanted, window) {}

    // Decodes a claimed picture (or takes it from the cache) outside the held
    // lock and files it for its upload; its cache entry, if any, is left in
    // `pending` for Keep.
    void Decode(std::unique_lock<std::mutex>& held, size_t index, PendingEntry& pending) {
        held.unlock();
        DecodedPicture picture;
        try {
            picture.decoded =
                cache ? cache->Load(pictures[index], picture.holder, pending)
                      : LoadPictureFile(picture.holder, pictures[index], PowerOfTwoSide);
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

    const std::vector<std::wstring>& pictures;
    const PictureCache* cache;
    size_t kept = 0;
    LoadOrder order;
    std::array<DecodedPicture, kMaxLoadWindow> places;
    bool stopping = false;
    std::mutex lock;
    std::condition_variable workReady;     // a picture may be started, or the load ends
    std::condition_variable pictureReady;  // a decoder is done with a picture
};

void DecodeLoop(LoadState& state) {
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

// The decoding threads of one load; they are told to stop and joined when
// this goes, on every path out of the load.
class DecoderPool {
public:
    DecoderPool(LoadState& state, size_t workers) : state_(state) {
        for (size_t i = 0; i < workers && i < threads_.size(); ++i) {
            try {
                threads_[count_] = std::thread(DecodeLoop, std::ref(state));
            } catch (...) {
                break;  // fewer threads, or none: the caller decodes
            }
            ++count_;
        }
    }
    DecoderPool(const DecoderPool&) = delete;
    DecoderPool& operator=(const DecoderPool&) = delete;
    ~DecoderPool() { Stop(); }
    // Tells the threads to stop and joins them; called without the state's lock.
    void Stop() {
        {
            std::lock_guard<std::mutex> held(state_.lock);
            state_.stopping = true;
        }
        state_.workReady.notify_all();
        for (size_t i = 0; i < count_; ++i) threads_[i].join();
        count_ = 0;
    }
    size_t Count() const { return count_; }

private:
    LoadState& state_;
    std::array<std::thread, kMaxLoadWorkers> threads_;
    size_t count_ = 0;
};

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

PictureLoadReport LoadPictures(const std::vector<std::wstring>& pictures, size_t wanted,
                               size_t workers, const PictureUpload& upload,
                               const PictureCache* cache) {
    // The image services start here, once, before any thread could race to start them.
    if (!StartImageServices()) workers = 0;
    LoadState state(pictures, wanted, LoadWindow(workers), cache);
    PictureLoadReport report;
    DecoderPool pool(state, workers);
    report.workers = pool.Count();
    std::unique_lock<std::mutex> held(state.lock);
    while (!state.order.Complete()) {
        size_t index = 0;
        if (!state.order.NextToTake(index)) {
            if (pool.Count() > 0) {
                state.pictureReady.wait(held);
            } else if (state.order.Start(index)) {
                PendingEntry pending;
                state.Decode(held, index, pending);
                state.Keep(held, pending);
            }
            continue;
        }
        DecodedPicture picture = std::move(state.places[index % state.order.Window()]);
        held.unlock();
        bool loaded = false;
        if (picture.decoded) {
            try {
                loaded = upload(index, picture.holder);
            } catch (...) {
                loaded = false;  // the upload could not be made: the picture is left out
            }
        }
        picture.holder.image.Reset();
        held.lock();
        state.order.Take(index, loaded);
        state.workReady.notify_all();
    }
    report.decoded = state.order.Started();
    report.loaded = state.order.Loaded();
    report.peakPending = state.order.PeakPending();
    // A decoder may still be writing an entry after the last picture was
    // taken: the count is read once they have all ended.
    held.unlock();
    pool.Stop();
    report.kept = state.kept;
    return report;
}

}  // namespace WorkSpace
