#include "scene/PictureSwaps_win.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <unordered_set>

#include "common/PathCase.h"
#include "common/WideText_win.h"
#include "scene/PictureCache_win.h"
#include "scene/PictureLoader_win.h"
#include "scene/TextureEntry.h"
#include "scene/TexturePlan.h"

namespace WorkSpace {

namespace {

// Pictures decoded and waiting for a wrap: one for the next wrap, one for a
// wrap soon after it.
constexpr size_t kDecodedAhead = 2;
// Pictures of the order put into the picture cache ahead, for the next start:
// as many as a start claims at most (its slots and as many spares).
constexpr size_t kPreparedAhead = 2 * size_t(kMaxSlots);
// A few frames: long enough for the frame that swapped a picture in to be shown.
constexpr std::chrono::milliseconds kAfterTake{50};

struct AheadPicture {
    Turn turn;
    ImageHolder holder;  // its mipmap levels, for the nearest slot
};

}  // namespace

// What the thread and the window's thread share; the thread owns a share, so
// a stopped thread ends with the picture in hand.
struct AheadState {
    std::shared_ptr<PictureTurns> turns;
    std::vector<TextureSideRule> slotRules;  // of the window's slots, farthest first
    std::mutex lock;
    std::condition_variable wake;  // a picture was taken, or the run ends
    std::deque<AheadPicture> ready;
    bool stopping = false;
    // Folded paths put into the picture cache in this run; only the thread's.
    std::unordered_set<std::u16string> prepared;
    size_t kept = 0;  // cache entries the thread wrote
};

namespace {

// Returns the rule of the slot a start's picture `index` of `count` takes.
TextureSideRule RuleAt(const AheadState& state, size_t index, size_t count) {
    return PictureTextureRule(state.slotRules, index, count);
}

// Decodes (or takes from the picture cache) one claimed picture and makes its
// mipmap levels; a picture that fails counts as flown, as at the start.
void DecodeNext(AheadState& state) {
    std::wstring path;
    const Turn turn = state.turns->Claim(path);
    AheadPicture picture{turn, {}};
    PendingEntry pending;
    bool decoded = false;
    try {
        // Made for the nearest slot: a farther one takes a smaller level.
        const TextureSideRule nearest =
            state.slotRules.empty() ? TextureSideRule() : state.slotRules.back();
        decoded = ThePictureCache().Load(path, nearest, picture.holder, pending) &&
                  MakeMipLevels(picture.holder);
    } catch (...) {
        decoded = false;  // no memory to decode it
    }
    if (!decoded) {
        state.turns->MarkFlown(turn);
        return;
    }
    {
        std::lock_guard<std::mutex> held(state.lock);
        state.ready.push_back(std::move(picture));
    }
    state.kept += ThePictureCache().Keep(pending);
}

// Returns true once the next kPreparedAhead pictures of the order are in the
// picture cache, so that the next start (and the wraps to come) find them
// there; false when it stopped for the window's thread or the run's end.
// Each call does what the order has moved on since the last: a bounded
// amount, one picture at a time.
bool PrepareNextStart(AheadState& state) {
    const std::vector<std::wstring> upcoming = state.turns->Upcoming(kPreparedAhead);
    for (size_t i = 0; i < upcoming.size(); ++i) {
        const std::wstring& path = upcoming[i];
        {
            std::lock_guard<std::mutex> held(state.lock);
            if (state.stopping || state.ready.size() < kDecodedAhead) return false;
        }
        if (!state.prepared.insert(FoldPathCase(AsU16(path))).second) continue;
        ImageHolder holder;
        PendingEntry pending;
        try {
            // Under the rule the next start gives the picture in this place.
            if (ThePictureCache().Load(path, RuleAt(state, i, upcoming.size()), holder, pending)) {
                state.kept += ThePictureCache().Keep(pending);
            }
        } catch (...) {
            // No memory for this picture: the next start decodes it.
        }
    }
    return true;
}

void AheadLoop(std::shared_ptr<AheadState> shared) {
    // Background mode lowers the disk's priority with the processor's, so the
    // frames never wait for it; where it is unknown the thread is at least low.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST);
    SetThreadPriority(GetCurrentThread(), THREAD_MODE_BACKGROUND_BEGIN);
    {
        AheadState& state = *shared;
        bool prepared = false;
        for (;;) {
            std::unique_lock<std::mutex> held(state.lock);
            state.wake.wait(held, [&] {
                return state.stopping || state.ready.size() < kDecodedAhead || !prepared;
            });
            // A wrap takes its picture in the middle of a frame: the work it
            // leaves waits for that frame to be shown.
            state.wake.wait_for(held, kAfterTake, [&] { return state.stopping; });
            if (state.stopping) break;
            const bool wrapsWait = state.ready.size() < kDecodedAhead;
            held.unlock();
            state.turns->SaveRecord();
            if (wrapsWait) {
                DecodeNext(state);
                prepared = false;  // the order moved on
            } else if ((prepared = PrepareNextStart(state)) && state.kept > 0) {
                ThePictureCache().Trim();
                state.kept = 0;
            }
        }
    }
    // Done with the image services: only now may the process release them.
    shared.reset();
    DecoderEnds();
}

bool ShownByAnother(const Scene& scene, size_t slot) {
    for (size_t i = 0; i < scene.quads.size(); ++i) {
        if (i != slot && scene.quads[i].texture == scene.quads[slot].texture) return true;
    }
    return false;
}

}  // namespace

PictureSwaps& PictureSwaps::operator=(PictureSwaps&& other) noexcept {
    if (this != &other) {
        Stop();
        state_ = std::move(other.state_);
    }
    return *this;
}

void PictureSwaps::Start(std::shared_ptr<PictureTurns> turns, std::vector<TextureSideRule> slotRules) {
    Stop();
    if (!turns) return;
    auto state = std::make_shared<AheadState>();
    state->turns = std::move(turns);
    state->slotRules = std::move(slotRules);
    DecoderStarts();
    try {
        std::thread(AheadLoop, state).detach();
    } catch (...) {
        DecoderEnds();  // no thread to be had: the pictures fly as they are
        return;
    }
    state_ = std::move(state);
}

void PictureSwaps::Stop() {
    if (!state_) return;
    {
        std::lock_guard<std::mutex> held(state_->lock);
        state_->stopping = true;
    }
    state_->wake.notify_all();
    state_.reset();
}

bool PictureSwaps::AfterTick(Scene& scene, TextureList& list) {
    if (!state_ || scene.wrapped.empty()) return false;
    for (uint32_t slot : scene.wrapped) {
        if (slot >= scene.quads.size() || ShownByAnother(scene, slot)) continue;
        AheadPicture picture;
        {
            std::lock_guard<std::mutex> held(state_->lock);
            if (state_->ready.empty()) return false;  // the wrap keeps its picture
            picture = std::move(state_->ready.front());
            state_->ready.pop_front();
        }
        state_->wake.notify_all();
        SceneQuad& quad = scene.quads[slot];
        // A picture that cannot be made a texture counts as flown, as at the start.
        state_->turns->MarkFlown(picture.turn);
        // Above every name in use, the logo's too (it is not in the list).
        const int32_t fresh = std::max(list.NextFreeName(), scene.logo.texture + 1);
        const ImageHolder& holder = picture.holder;
        const TextureSideRule rule = slot < state_->slotRules.size() ? state_->slotRules[slot]
                                                                     : TextureSideRule();
        if (!list.ReplacePicture(holder, rule.Shape(holder.width, holder.height), quad.texture, fresh)) {
            return false;
        }
        quad.texture = fresh;
        SwapQuadPicture(quad, holder.width, holder.height);
        return true;
    }
    return false;
}

}  // namespace WorkSpace
