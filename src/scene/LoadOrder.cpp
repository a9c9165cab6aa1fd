#include "scene/LoadOrder.h"

#include <algorithm>

namespace WorkSpace {

size_t LoadWorkerCount(uint32_t processors) {
    if (processors < 2) return 0;
    return std::min<size_t>(processors, kMaxLoadWorkers);
}

size_t LoadWindow(size_t workers) {
    return std::min(std::min(workers, kMaxLoadWorkers) + 2, kMaxLoadWindow);
}

LoadOrder::LoadOrder(size_t count, size_t wanted, size_t window)
    : count_(count), wanted_(wanted), window_(std::clamp<size_t>(window, 1, kMaxLoadWindow)) {}

bool LoadOrder::Start(size_t& index) {
    if (Complete() || started_ >= count_ || Pending() >= window_) return false;
    // Every picture under way may still load; starting one more than could
    // fill the wanted number would decode beyond where loading stops.
    if (loaded_ + Pending() >= wanted_) return false;
    index = started_++;
    finished_[index % window_] = false;
    peakPending_ = std::max(peakPending_, Pending());
    return true;
}

void LoadOrder::Finish(size_t index) {
    if (index >= taken_ && index < started_) finished_[index % window_] = true;
}

bool LoadOrder::NextToTake(size_t& index) const {
    if (taken_ >= started_ || !finished_[taken_ % window_]) return false;
    index = taken_;
    return true;
}

void LoadOrder::Take(size_t index, bool loaded) {
    if (index != taken_ || taken_ >= started_) return;
    finished_[index % window_] = false;
    ++taken_;
    if (loaded) ++loaded_;
}

bool LoadOrder::Complete() const { return loaded_ >= wanted_ || taken_ >= count_; }

}  // namespace WorkSpace
