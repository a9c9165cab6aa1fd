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
    LoadState(const std::vector<std::wstring>& pictures, size_t wanted, size_t window)
        : pictures(pictures), order(pictures.size(), wanted, window) {}

    // Decodes a claimed picture outside the held lock and files it for its upload.
    void Decode(std::unique_lock<std::mutex>& held, size_t index) {
        held.unlock();
        DecodedPicture picture;
        try {
            picture.decoded = LoadPictureFile(picture.holder, pictures[index], PowerOfTwoSide);
        } catch (...) {
            picture = DecodedPicture();  // no memory to decode it: it fails as it would alone
        }
        held.lock();
        places[index % order.Window()] = std::move(picture);
        order.Finish(index);
    }

    const std::vector<std::wstring>& pictures;
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
            state.Decode(held, index);
            state.pictureReady.notify_one();
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
    ~DecoderPool() {
        {
            std::lock_guard<std::mutex> held(state_.lock);
            state_.stopping = true;
        }
        state_.workReady.notify_all();
        for (size_t i = 0; i < count_; ++i) threads_[i].join();
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
                               size_t workers, const PictureUpload& upload) {
    // The image services start here, once, before any thread could race to start them.
    if (!StartImageServices()) workers = 0;
    LoadState state(pictures, wanted, LoadWindow(workers));
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
                state.Decode(held, index);
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
    return report;
}

}  // namespace WorkSpace
