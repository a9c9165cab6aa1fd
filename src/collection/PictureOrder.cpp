#include "collection/PictureOrder.h"

#include <algorithm>
#include <cstring>

#include "common/PathCase.h"

namespace WorkSpace {
namespace {

constexpr uint8_t kMagic[4] = {'V', 'P', 'O', '1'};
constexpr size_t kHeadBytes = 4 + 4 + 4;  // magic, seed, count
constexpr size_t kSumBytes = 8;

uint64_t SplitMix64(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// A picture's place in the round of `seed`: the same picture keeps its place
// for as long as the round lasts, whatever else joins or leaves.
uint64_t OrderKey(uint32_t seed, uint64_t identity) {
    return SplitMix64(identity ^ SplitMix64(seed));
}

uint32_t NextSeed(uint32_t seed) { return uint32_t(SplitMix64(seed ^ 0xA5A5A5A5u)); }

void Put(std::vector<uint8_t>& out, uint64_t value, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

uint64_t Get(const uint8_t* at, size_t bytes) {
    uint64_t value = 0;
    for (size_t i = bytes; i-- > 0;) value = (value << 8) | at[i];
    return value;
}

}  // namespace

uint64_t PictureIdentity(std::u16string_view path) {
    const std::u16string folded = FoldPathCase(path);
    std::vector<uint8_t> bytes;
    bytes.reserve(folded.size() * 2);
    for (char16_t unit : folded) Put(bytes, unit, 2);
    return Fnv1a64(kFnv1a64Offset, bytes.data(), bytes.size());
}

std::vector<uint8_t> ComposeOrderRecord(const OrderRecord& record) {
    std::vector<uint8_t> out(kMagic, kMagic + 4);
    out.reserve(kHeadBytes + record.flown.size() * 8 + kSumBytes);
    Put(out, record.seed, 4);
    Put(out, record.flown.size(), 4);
    for (uint64_t identity : record.flown) Put(out, identity, 8);
    Put(out, Fnv1a64(kFnv1a64Offset, out.data(), out.size()), 8);
    return out;
}

bool ParseOrderRecord(const uint8_t* bytes, size_t count, OrderRecord& record) {
    if (!bytes || count < kHeadBytes + kSumBytes || std::memcmp(bytes, kMagic, 4) != 0) return false;
    const uint64_t flown = Get(bytes + 8, 4);
    if ((count - kHeadBytes - kSumBytes) % 8 != 0 || (count - kHeadBytes - kSumBytes) / 8 != flown) {
        return false;
    }
    const size_t summed = count - kSumBytes;
    if (Get(bytes + summed, 8) != Fnv1a64(kFnv1a64Offset, bytes, summed)) return false;
    OrderRecord parsed;
    parsed.seed = uint32_t(Get(bytes + 4, 4));
    parsed.flown.reserve(size_t(flown));
    for (size_t i = 0; i < flown; ++i) {
        const uint64_t identity = Get(bytes + kHeadBytes + i * 8, 8);
        if (!parsed.flown.empty() && identity <= parsed.flown.back()) return false;
        parsed.flown.push_back(identity);
    }
    record = std::move(parsed);
    return true;
}

PictureRotation::PictureRotation(std::vector<std::u16string> collection, const OrderRecord& record,
                                 uint32_t freshSeed, size_t onScreen)
    : collection_(std::move(collection)), onScreen_(onScreen) {
    identities_.reserve(collection_.size());
    for (const std::u16string& path : collection_) identities_.push_back(PictureIdentity(path));
    // Only pictures still in the collection count; the removed drop out.
    size_t flownHere = 0;
    for (uint64_t identity : identities_) {
        if (std::binary_search(record.flown.begin(), record.flown.end(), identity)) {
            flown_.insert(identity);
            ++flownHere;
        }
    }
    // A round with nothing flown is a new one (so is a lost record's); one
    // with everything flown has ended.
    if (flownHere == 0 || flownHere >= collection_.size()) {
        BeginRound(freshSeed);
        return;
    }
    seed_ = record.seed;
    order_ = RoundOrder(seed_, {});
}

std::vector<size_t> PictureRotation::RoundOrder(uint32_t seed, const std::vector<size_t>& last) const {
    std::vector<std::pair<uint64_t, size_t>> keyed;
    keyed.reserve(collection_.size());
    for (size_t i = 0; i < collection_.size(); ++i) {
        if (flown_.count(identities_[i]) == 0) keyed.emplace_back(OrderKey(seed, identities_[i]), i);
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<size_t> order;
    order.reserve(keyed.size());
    for (const auto& entry : keyed) order.push_back(entry.second);
    std::stable_partition(order.begin(), order.end(), [&](size_t picture) {
        return std::find(last.begin(), last.end(), picture) == last.end();
    });
    return order;
}

void PictureRotation::BeginRound(uint32_t seed) {
    ++round_;
    seed_ = seed;
    flown_.clear();
    givenBack_.clear();
    order_ = RoundOrder(seed, std::vector<size_t>(recent_.begin(), recent_.end()));
    next_ = 0;
}

Turn PictureRotation::Claim() {
    Turn turn{0, round_};
    if (!givenBack_.empty()) {
        turn = givenBack_.front();
        givenBack_.pop_front();
    } else {
        if (next_ >= order_.size()) BeginRound(NextSeed(seed_));
        turn = Turn{order_[next_++], round_};
    }
    recent_.push_back(turn.picture);
    if (recent_.size() > onScreen_) recent_.pop_front();
    return turn;
}

std::vector<size_t> PictureRotation::Upcoming(size_t count) const {
    std::vector<size_t> upcoming;
    for (size_t i = 0; i < givenBack_.size() && upcoming.size() < count; ++i) {
        upcoming.push_back(givenBack_[i].picture);
    }
    for (size_t i = next_; i < order_.size() && upcoming.size() < count; ++i) {
        upcoming.push_back(order_[i]);
    }
    return upcoming;
}

// A turn of a round that has ended is in the new round's order already.
void PictureRotation::GiveBack(const std::vector<Turn>& turns) {
    for (size_t i = turns.size(); i-- > 0;) {
        if (turns[i].round == round_) givenBack_.push_front(turns[i]);
    }
}

void PictureRotation::MarkFlown(const Turn& turn) {
    if (turn.round == round_ && turn.picture < identities_.size()) {
        flown_.insert(identities_[turn.picture]);
    }
}

OrderRecord PictureRotation::Record() const {
    OrderRecord record;
    record.seed = seed_;
    record.flown.assign(flown_.begin(), flown_.end());
    std::sort(record.flown.begin(), record.flown.end());
    return record;
}

}  // namespace WorkSpace
