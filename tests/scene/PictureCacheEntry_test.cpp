#include "scene/PictureCacheEntry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using namespace WorkSpace;

namespace {

const PictureFileState kFile{123456, 0x01D9A0B0C0D0E0F0, 0x5A17C0DE, 0x0003000000A72988};
const PictureCacheKey kKey = MakePictureCacheKey(u"C:\\Photos\\Été\\Beach.JPG", kFile);

// A 16 x 32 texture whose every byte differs from its neighbours, in rows
// padded to `stride` bytes as a locked image may have them.
struct Texels {
    explicit Texels(size_t stride) : stride(stride), bytes(stride * 32, 0xEE) {
        for (size_t row = 0; row < 32; ++row) {
            for (size_t i = 0; i < 64; ++i) bytes[row * stride + i] = uint8_t(row * 64 + i * 7);
        }
    }
    PictureCacheImage Image() const { return {10, 20, 16, 32, bytes.data(), stride}; }
    size_t stride;
    std::vector<uint8_t> bytes;
};

void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) bytes[at + i] = uint8_t(value >> (8 * i));
}

// Gives an edited entry the checksum of its new bytes, as a hand that edits
// entries would.
void Resum(std::vector<uint8_t>& bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i + 8 < bytes.size(); ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
    for (size_t i = 0; i < 8; ++i) bytes[bytes.size() - 8 + i] = uint8_t(hash >> (8 * i));
}

}  // namespace

// Every byte of an entry counts: whatever is changed, cut or added, and
// whichever part of the key differs, the entry is refused, while the same
// path in another case finds it.
TEST(PictureCacheEntry, OnlyTheWholeEntryOfTheSameKeyIsBelieved) {
    const Texels texels(64);
    const std::vector<uint8_t> entry = ComposePictureCacheEntry(kKey, texels.Image());
    const size_t pathEnd = 48 + 2 * kKey.path.size();  // the key ends with its texture rule
    ASSERT_EQ(entry.size(), pathEnd + 16 + 64 * 32 + 8);

    PictureCacheImage image;
    ASSERT_TRUE(ParsePictureCacheEntry(entry.data(), entry.size(), kKey, image));
    EXPECT_EQ(image.width, 10);
    EXPECT_EQ(image.height, 20);
    EXPECT_EQ(image.textureWidth, 16);
    EXPECT_EQ(image.textureHeight, 32);
    ASSERT_EQ(image.stride, 64u);
    EXPECT_EQ(std::vector<uint8_t>(image.pixels, image.pixels + 64 * 32), texels.bytes);
    const PictureCacheKey otherCase = MakePictureCacheKey(u"c:\\PHOTOS\\éTÉ\\beach.jpg", kFile);
    EXPECT_TRUE(ParsePictureCacheEntry(entry.data(), entry.size(), otherCase, image));

    using Edit = std::function<void(std::vector<uint8_t>&)>;
    struct Case { const char* what; Edit edit; };
    const Case damaged[] = {
        {"empty", [](auto& b) { b.clear(); }},
        {"cut in the header", [](auto& b) { b.resize(20); }},
        {"cut in the path", [&](auto& b) { b.resize(pathEnd - 1); }},
        {"cut in the pixels", [&](auto& b) { b.resize(pathEnd + 16 + 100); }},
        {"no checksum", [](auto& b) { b.resize(b.size() - 8); }},
        {"one byte more", [](auto& b) { b.push_back(0); }},
        {"magic", [](auto& b) { b[0] ^= 1; }},
        {"pixel bit", [&](auto& b) { b[pathEnd + 16 + 1000] ^= 0x10; }},
        {"last pixel", [](auto& b) { b[b.size() - 9] ^= 0x80; }},
        {"checksum", [](auto& b) { b[b.size() - 1] ^= 1; }},
        {"width", [&](auto& b) { b[pathEnd] ^= 1; }},
        {"texture width 0", [&](auto& b) { b[pathEnd + 8] = 0; }},
        {"texture height 512", [&](auto& b) { b[pathEnd + 12] = 0; b[pathEnd + 13] = 2; }},
        {"path length huge", [](auto& b) { b[39] = 0x7F; }},
    };
    for (const Case& c : damaged) {
        std::vector<uint8_t> bytes = entry;
        c.edit(bytes);
        EXPECT_FALSE(ParsePictureCacheEntry(bytes.data(), bytes.size(), kKey, image)) << c.what;
        EXPECT_EQ(image.pixels, nullptr) << c.what;
    }

    struct KeyCase { const char* what; PictureCacheKey key; };
    PictureCacheKey otherVersion = kKey;
    otherVersion.version += 1;
    // The same picture made for another texture size is another entry.
    PictureCacheKey otherScreen = kKey, otherLimit = kKey;
    otherScreen.screenWidth = 1000;
    otherLimit.maxSide = 128;
    const char16_t* const path = u"C:\\Photos\\Été\\Beach.JPG";
    const uint64_t time = kFile.writeTime;
    const KeyCase others[] = {
        {"version", otherVersion},
        {"texture rule's screen width", otherScreen},
        {"texture rule's largest side", otherLimit},
        {"size", MakePictureCacheKey(path, {123457, time, kFile.volume, kFile.index})},
        {"time", MakePictureCacheKey(path, {123456, time + 1, kFile.volume, kFile.index})},
        {"volume", MakePictureCacheKey(path, {123456, time, kFile.volume + 1, kFile.index})},
        {"file index", MakePictureCacheKey(path, {123456, time, kFile.volume, kFile.index ^ (1ull << 40)})},
        {"path", MakePictureCacheKey(u"C:\\Photos\\Ete\\Beach.JPG", kFile)},
        {"longer path", MakePictureCacheKey(u"C:\\Photos\\Été\\Beach.JPG2", kFile)},
        {"shorter path", MakePictureCacheKey(u"C:\\Photos\\Été\\Beach.JP", kFile)},
    };
    for (const KeyCase& c : others) {
        EXPECT_FALSE(ParsePictureCacheEntry(entry.data(), entry.size(), c.key, image)) << c.what;
        EXPECT_NE(PictureCacheFileName(c.key), PictureCacheFileName(kKey)) << c.what;
        EXPECT_FALSE(SameKey(c.key, kKey)) << c.what;
    }
    EXPECT_TRUE(SameKey(otherCase, kKey));
}

// An entry is believed only with the texture a build gives its picture's
// sizes: one whose sizes disagree (made by another texture rule under the same
// version, or edited with its checksum redone) would shape its quad wrongly.
TEST(PictureCacheEntry, EntriesWhoseSizesDisagreeAreRefused) {
    const Texels texels(64);
    const std::vector<uint8_t> entry = ComposePictureCacheEntry(kKey, texels.Image());
    const size_t sizesAt = 48 + 2 * kKey.path.size();
    struct Case { const char* what; int32_t width, height, textureWidth, textureHeight; bool agree; };
    const Case cases[] = {
        {"other sizes of the same texture", 15, 31, 16, 32, true},
        {"a width of another side", 64, 20, 16, 32, false},
        {"a height of another side", 10, 10, 16, 32, false},
        {"sizes swapped", 20, 10, 16, 32, false},
        {"texture sides swapped", 10, 20, 32, 16, false},
        {"width 0", 0, 20, 16, 32, false},
        {"negative height", 10, -20, 16, 32, false},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = entry;
        PutU32(bytes, sizesAt, uint32_t(c.width));
        PutU32(bytes, sizesAt + 4, uint32_t(c.height));
        PutU32(bytes, sizesAt + 8, uint32_t(c.textureWidth));
        PutU32(bytes, sizesAt + 12, uint32_t(c.textureHeight));
        Resum(bytes);
        PictureCacheImage image;
        EXPECT_EQ(ParsePictureCacheEntry(bytes.data(), bytes.size(), kKey, image), c.agree) << c.what;
        const PictureCacheImage sizes{c.width, c.height, c.textureWidth, c.textureHeight,
                                      texels.bytes.data(), 64};
        EXPECT_EQ(ComposePictureCacheEntry(kKey, sizes) == bytes, c.agree) << c.what;
    }
}

// Rows are packed whatever the stride they come in, and sizes an entry could
// not hold give no entry at all.
TEST(PictureCacheEntry, ComposesPackedRowsAndRefusesSizesOutOfRange) {
    const Texels packed(64);
    const Texels padded(80);
    EXPECT_EQ(ComposePictureCacheEntry(kKey, padded.Image()),
              ComposePictureCacheEntry(kKey, packed.Image()));

    struct Case { const char* what; PictureCacheImage image; };
    const uint8_t* pixels = packed.bytes.data();
    const Case refused[] = {
        {"width 0", {0, 20, 16, 32, pixels, 64}},
        {"negative height", {10, -1, 16, 32, pixels, 64}},
        {"texture width 0", {10, 20, 0, 32, pixels, 64}},
        {"texture side 512", {5000, 20, 512, 32, pixels, 2048}},
        {"texture not the width's side", {300, 20, 16, 32, pixels, 64}},
        {"stride short", {10, 20, 16, 32, pixels, 60}},
        {"no pixels", {10, 20, 16, 32, nullptr, 64}},
    };
    for (const Case& c : refused) {
        EXPECT_TRUE(ComposePictureCacheEntry(kKey, c.image).empty()) << c.what;
    }
    PictureCacheKey longest = kKey;
    longest.path.assign(kMaxCachedPathUnits + 1, u'a');
    EXPECT_TRUE(ComposePictureCacheEntry(longest, packed.Image()).empty());
    longest.path.pop_back();
    longest.screenWidth = 8000;
    longest.maxSide = kMaxScreenTextureSide;
    const std::vector<uint8_t> largest(size_t(kMaxScreenTextureSide) * kMaxScreenTextureSide * 4, 0x5A);
    EXPECT_EQ(ComposePictureCacheEntry(longest, {8000, 8000, 4096, 4096, largest.data(), 4096 * 4}).size(),
              MaxPictureCacheEntryBytes());
}

// The fold is the one the key and its file name both use; letters whose case
// depends on the language stay as they are.
TEST(PictureCacheEntry, FileNamesFollowTheFoldedKey) {
    struct Case { std::u16string a; std::u16string b; bool same; };
    const Case cases[] = {
        {u"C:\\A.JPG", u"c:\\a.jpg", true},
        {u"ÀÉÎÕÜÞ", u"àéîõüþ", true},
        {u"×", u"÷", false},
        {u"ĀĞŁŇŸŹŽ", u"āğłňÿźž", true},
        {u"ΑΣΩ", u"ασω", true},
        {u"ЁЖЯ", u"ёжя", true},
        {u"İ", u"i", false},
        {u"ı", u"I", false},
        {u"a.jpg", u"a.jpeg", false},
        {u"a/b", u"a\\b", false},
    };
    for (const Case& c : cases) {
        const std::u16string nameA = PictureCacheFileName(MakePictureCacheKey(c.a, {1, 2, 3, 4}));
        const std::u16string nameB = PictureCacheFileName(MakePictureCacheKey(c.b, {1, 2, 3, 4}));
        EXPECT_EQ(FoldPathCase(c.a) == FoldPathCase(c.b), c.same);
        EXPECT_EQ(nameA == nameB, c.same);
        EXPECT_TRUE(IsPictureCacheFileName(nameA));
    }
    // The same name in every build of this cache version and on every run, so
    // entries outlive the process.
    EXPECT_EQ(PictureCacheFileName(MakePictureCacheKey(u"C:\\A.JPG", {1, 2, 3, 4})),
              u"838564a1bb0b5395.entry");
    for (const char16_t* name : {u"0123456789abcdeF.entry", u"0123456789abcdef.entry.tmp",
                                 u"0123456789abcde.entry", u"desktop.ini"}) {
        EXPECT_FALSE(IsPictureCacheFileName(name));
    }
}
