#include "collection/PictureOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace WorkSpace;

namespace {

std::vector<std::u16string> Pictures(size_t count, const std::u16string& folder = u"C:\\P\\") {
    std::vector<std::u16string> paths;
    for (size_t i = 0; i < count; ++i) {
        std::string digits = std::to_string(i);
        paths.push_back(folder + std::u16string(digits.begin(), digits.end()) + u".jpg");
    }
    return paths;
}

// One start of the saver: the record read, `slots` pictures fly (with as
// many claimed to spare and given back), the record written. Returns the
// paths that flew and the record's bytes afterwards.
std::vector<std::u16string> FlyOneStart(const std::vector<std::u16string>& collection,
                                        std::vector<uint8_t>& recordBytes, uint32_t seed,
                                        size_t slots) {
    OrderRecord record;
    if (!ParseOrderRecord(recordBytes.data(), recordBytes.size(), record)) record = OrderRecord();
    PictureRotation rotation(collection, record, seed, slots);
    std::vector<Turn> claimed;
    for (size_t i = 0; i < 2 * slots; ++i) claimed.push_back(rotation.Claim());
    std::vector<std::u16string> flew;
    for (size_t i = 0; i < slots; ++i) {
        rotation.MarkFlown(claimed[i]);
        flew.push_back(rotation.Path(claimed[i].picture));
    }
    rotation.GiveBack({claimed.begin() + ptrdiff_t(slots), claimed.end()});
    recordBytes = ComposeOrderRecord(rotation.Record());
    return flew;
}

}  // namespace

TEST(PictureOrder, EveryPictureFliesOncePerRoundAcrossStarts) {
    const std::vector<std::u16string> collection = Pictures(300);
    std::vector<uint8_t> record;  // none yet
    for (int round = 0; round < 3; ++round) {
        std::map<std::u16string, int> flights;
        for (uint32_t start = 0; start < 10; ++start) {
            for (const auto& path : FlyOneStart(collection, record, 1000 * round + start, 30)) {
                ++flights[path];
            }
        }
        EXPECT_EQ(flights.size(), 300u) << round;
        for (const auto& [path, count] : flights) EXPECT_EQ(count, 1) << round;
    }
    // Within one run the order goes on into a new round, whose first
    // pictures are not those still on screen from the end of the last.
    PictureRotation rotation(Pictures(50), OrderRecord(), 7, 10);
    std::vector<size_t> claims;
    for (int i = 0; i < 100; ++i) claims.push_back(rotation.Claim().picture);
    for (int half = 0; half < 2; ++half) {
        std::set<size_t> distinct(claims.begin() + 50 * half, claims.begin() + 50 * (half + 1));
        EXPECT_EQ(distinct.size(), 50u);
    }
    const std::set<size_t> lastOfFirst(claims.begin() + 40, claims.begin() + 50);
    for (int i = 50; i < 60; ++i) EXPECT_EQ(lastOfFirst.count(claims[size_t(i)]), 0u) << i;
}

TEST(PictureOrder, AddedPicturesJoinTheRoundAndRemovedOnesDropOut) {
    const std::vector<std::u16string> before = Pictures(100);
    std::vector<uint8_t> bytes;
    std::set<std::u16string> flown;
    for (uint32_t start = 0; start < 4; ++start) {
        for (const auto& path : FlyOneStart(before, bytes, start, 10)) flown.insert(path);
    }
    ASSERT_EQ(flown.size(), 40u);
    OrderRecord record;
    ASSERT_TRUE(ParseOrderRecord(bytes.data(), bytes.size(), record));

    // Ten flown and ten waiting pictures leave; twenty new ones come.
    std::vector<std::u16string> after;
    size_t flownRemoved = 0, waitingRemoved = 0;
    for (const auto& path : before) {
        const bool hasFlown = flown.count(path) != 0;
        size_t& removed = hasFlown ? flownRemoved : waitingRemoved;
        if (removed < 10) {
            ++removed;
        } else {
            after.push_back(path);
        }
    }
    const std::vector<std::u16string> added = Pictures(20, u"D:\\New\\");
    after.insert(after.begin() + 17, added.begin(), added.end());

    PictureRotation rotation(after, record, 99, 10);
    EXPECT_EQ(rotation.Record().flown.size(), 30u);  // the removed have dropped out
    std::set<std::u16string> rest;
    std::vector<std::u16string> waitingInOrder;
    for (int i = 0; i < 70; ++i) {
        const std::u16string& path = rotation.Path(rotation.Claim().picture);
        EXPECT_EQ(flown.count(path), 0u);
        rest.insert(path);
        if (path.compare(0, 7, u"D:\\New\\") != 0) waitingInOrder.push_back(path);
    }
    EXPECT_EQ(rest.size(), 70u);  // 50 that waited, and the 20 new ones
    for (const auto& path : added) EXPECT_EQ(rest.count(path), 1u);

    // The pictures that waited keep their order: the round's seed fixes it.
    PictureRotation unchanged(before, record, 99, 10);
    std::vector<std::u16string> expected;
    for (int i = 0; i < 60; ++i) {
        const std::u16string& path = unchanged.Path(unchanged.Claim().picture);
        if (std::find(after.begin(), after.end(), path) != after.end()) expected.push_back(path);
    }
    EXPECT_EQ(waitingInOrder, expected);
}

TEST(PictureOrder, ADamagedRecordOnlyStartsANewRound) {
    OrderRecord record;
    record.seed = 0x12345678;
    for (const auto& path : Pictures(3)) record.flown.push_back(PictureIdentity(path));
    std::sort(record.flown.begin(), record.flown.end());
    const std::vector<uint8_t> good = ComposeOrderRecord(record);
    ASSERT_EQ(good.size(), 12u + 3 * 8 + 8);
    OrderRecord read;
    ASSERT_TRUE(ParseOrderRecord(good.data(), good.size(), read));
    EXPECT_EQ(read.seed, record.seed);
    EXPECT_EQ(read.flown, record.flown);
    EXPECT_EQ(PictureIdentity(u"C:\\P\\0.JPG"), PictureIdentity(u"c:\\p\\0.jpg"));

    std::vector<std::vector<uint8_t>> damaged;
    for (size_t i = 0; i < good.size(); ++i) {
        damaged.push_back(good);
        damaged.back()[i] ^= 0x10;  // any byte changed
        damaged.emplace_back(good.begin(), good.begin() + ptrdiff_t(i));  // cut short
    }
    damaged.push_back(good);
    damaged.back().push_back(0);  // a byte too many
    OrderRecord unsorted = record;
    std::swap(unsorted.flown[0], unsorted.flown[2]);
    damaged.push_back(ComposeOrderRecord(unsorted));  // checksum right, order wrong
    for (size_t i = 0; i < damaged.size(); ++i) {
        OrderRecord untouched;
        untouched.seed = 5;
        EXPECT_FALSE(ParseOrderRecord(damaged[i].data(), damaged[i].size(), untouched)) << i;
        EXPECT_EQ(untouched.seed, 5u) << i;
    }
    // With the record lost, every picture waits again.
    PictureRotation rotation(Pictures(4), OrderRecord(), 1, 2);
    std::set<size_t> claimed;
    for (int i = 0; i < 4; ++i) claimed.insert(rotation.Claim().picture);
    EXPECT_EQ(claimed.size(), 4u);
}
