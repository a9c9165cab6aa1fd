#pragma once
// Every picture in its turn: the shuffled order of a collection larger than
// the slots, kept from one start to the next by a small per-user record of
// which pictures have flown in the current round. Portable: the record's
// file is the glue's (Collection_win.cpp); seeds come in as arguments.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace WorkSpace {

// The record of the round under way: its seed, which fixes the order, and
// the pictures that have flown in it, by PictureIdentity, ascending.
struct OrderRecord {
    uint32_t seed = 0;
    std::vector<uint64_t> flown;
};

// Returns a picture's identity in the record: a 64-bit hash of its path with
// the letter case folded, so that two spellings Windows reads as one file are one.
uint64_t PictureIdentity(std::u16string_view path);

// Returns the record's bytes: "VPO1", seed u32, count u32, the identities as
// u64, then FNV-1a 64 of every byte before it; little-endian.
std::vector<uint8_t> ComposeOrderRecord(const OrderRecord& record);

// Returns true with the record when `bytes` are a whole record whose
// identities ascend and whose checksum holds; anything else is damaged.
bool ParseOrderRecord(const uint8_t* bytes, size_t count, OrderRecord& record);

// One picture handed out by PictureRotation::Claim: its index in the
// collection and the round it belongs to.
struct Turn {
    size_t picture = 0;
    uint32_t round = 0;
};

// The order over a collection of pictures (paths, distinct) for one run. The
// round of the record goes on: the pictures that have not flown in it come
// in the order its seed gives, then a new round of the whole collection in a
// new order. A picture added since the record joins the round under way; one
// removed drops out of it. A claimed picture counts as flown only once it is
// marked so; one given back is claimed again first.
class PictureRotation {
public:
    // `record` as read (an empty one when lost or damaged); `freshSeed`
    // orders a new round; the `onScreen` last claimed pictures come last in
    // a round that begins while they fly. `collection` must not be empty.
    PictureRotation(std::vector<std::u16string> collection, const OrderRecord& record,
                    uint32_t freshSeed, size_t onScreen);

    // Returns the next picture of the order, beginning a new round when every
    // picture of this one has been claimed.
    Turn Claim();
    // Returns the next `count` pictures Claim would give, in order, without claiming them.
    std::vector<size_t> Upcoming(size_t count) const;
    // Claimed but not flown: handed out again before anything else, in this order.
    void GiveBack(const std::vector<Turn>& turns);
    // Records that a claimed picture flew (or failed to load, which counts the same).
    void MarkFlown(const Turn& turn);

    const std::u16string& Path(size_t picture) const { return collection_[picture]; }
    size_t Size() const { return collection_.size(); }
    // Returns the record of the round under way: its seed and what has flown in it.
    OrderRecord Record() const;

private:
    void BeginRound(uint32_t seed);
    // Returns the round's order after `seed`: the pictures not flown, by their
    // key, with those of `last` moved to the end.
    std::vector<size_t> RoundOrder(uint32_t seed, const std::vector<size_t>& last) const;

    std::vector<std::u16string> collection_;
    std::vector<uint64_t> identities_;  // per picture
    size_t onScreen_;
    uint32_t seed_ = 0;
    uint32_t round_ = 0;
    std::unordered_set<uint64_t> flown_;  // this round's, identities
    std::vector<size_t> order_;           // this round's order
    size_t next_ = 0;                     // next place in order_ to claim
    std::deque<Turn> givenBack_;
    std::deque<size_t> recent_;           // the last onScreen_ claimed
};

}  // namespace WorkSpace
