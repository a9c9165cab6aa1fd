#include "scene/PictureLoader_win.h"

#include <windows.h>
#include <process.h>

#include <array>
#include <utility>

#include "common/Handles_win.h"
#include "scene/LoadOrder.h"

namespace WorkSpace {
namespace {

// A picture whose decoder is done, waiting for its upload.
struct DecodedPicture {
    ImageHolder holder;
    bool decoded = false;
};

// What the decoding threads and the uploading thread share, all of it
// touched only under `lock` except the read-only picture list.
class LoadState {
public:
    LoadState(const std::vector<std::wstring>& pictures, size_t wanted, size_t window)
        : pictures(pictures), order(pictures.size(), wanted, window) {
        InitializeCriticalSection(&lock);
        InitializeConditionVariable(&workReady);
        InitializeConditionVariable(&pictureReady);
    }
    LoadState(const LoadState&) = delete;
    LoadState& operator=(const LoadState&) = delete;
    ~LoadState() { DeleteCriticalSection(&lock); }

    void Enter() { EnterCriticalSection(&lock); }
    void Leave() { LeaveCriticalSection(&lock); }

    // Decodes a claimed picture outside the lock and files it for its upload.
    void Decode(size_t index) {
        Leave();
        DecodedPicture picture;
        try {
            picture.decoded = LoadPictureFile(picture.holder, pictures[index]);
        } catch (...) {
            picture = DecodedPicture();  // no memory to decode it: it fails as it would alone
        }
        Enter();
        places[index % order.Window()] = std::move(picture);
        order.Finish(index);
    }

    const std::vector<std::wstring>& pictures;
    LoadOrder order;
    std::array<DecodedPicture, kMaxLoadWindow> places;
    bool stopping = false;
    CRITICAL_SECTION lock;
    CONDITION_VARIABLE workReady;     // a picture may be started, or the load ends
    CONDITION_VARIABLE pictureReady;  // a decoder is done with a picture
};

unsigned __stdcall DecodeLoop(void* argument) {
    LoadState& state = *static_cast<LoadState*>(argument);
    state.Enter();
    while (!state.stopping) {
        size_t index = 0;
        if (state.order.Start(index)) {
            state.Decode(index);
            WakeConditionVariable(&state.pictureReady);
        } else {
            SleepConditionVariableCS(&state.workReady, &state.lock, INFINITE);
        }
    }
    state.Leave();
    return 0;
}

// The decoding threads of one load; they are told to stop and joined when
// this goes, on every path out of the load.
class DecoderPool {
public:
    DecoderPool(LoadState& state, size_t workers) : state_(state) {
        for (size_t i = 0; i < workers && i < threads_.size(); ++i) {
            const uintptr_t thread = _beginthreadex(nullptr, 0, DecodeLoop, &state, 0, nullptr);
            if (!thread) break;  // fewer threads, or none: the caller decodes
            threads_[count_++].Reset(reinterpret_cast<HANDLE>(thread));
        }
    }
    DecoderPool(const DecoderPool&) = delete;
    DecoderPool& operator=(const DecoderPool&) = delete;
    ~DecoderPool() {
        state_.Enter();
        state_.stopping = true;
        WakeAllConditionVariable(&state_.workReady);
        state_.Leave();
        for (size_t i = 0; i < count_; ++i) WaitForSingleObject(threads_[i].Get(), INFINITE);
    }
    size_t Count() const { return count_; }

private:
    LoadState& state_;
    std::array<UniqueKernelHandle, kMaxLoadWorkers> threads_;
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
    {
        DecoderPool pool(state, workers);
        report.workers = pool.Count();
        state.Enter();
        while (!state.order.Complete()) {
            size_t index = 0;
            if (!state.order.NextToTake(index)) {
                if (pool.Count() > 0) {
                    SleepConditionVariableCS(&state.pictureReady, &state.lock, INFINITE);
                } else if (state.order.Start(index)) {
                    state.Decode(index);
                }
                continue;
            }
            DecodedPicture picture = std::move(state.places[index % state.order.Window()]);
            state.Leave();
            bool loaded = false;
            if (picture.decoded) {
                try {
                    loaded = upload(index, picture.holder);
                } catch (...) {
                    loaded = false;  // the upload could not be made: the picture is left out
                }
            }
            picture.holder.image.Reset();
            state.Enter();
            state.order.Take(index, loaded);
            WakeAllConditionVariable(&state.workReady);
        }
        report.decoded = state.order.Started();
        report.loaded = state.order.Loaded();
        report.peakPending = state.order.PeakPending();
        state.Leave();
    }
    return report;
}

}  // namespace WorkSpace
