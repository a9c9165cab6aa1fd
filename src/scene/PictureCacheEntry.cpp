#include "scene/PictureCacheEntry.h"

#include <cstring>

#include "scene/TextureEntry.h"

namespace WorkSpace {
namespace {

// An entry, every number little-endian:
//   "VPCE", version u32, file size u64, write time u64, volume u32,
//   file index u64, path units u32, path (UTF-16 units), the rule's screen
//   width i32 and largest side i32, width i32,
//   height i32, texture width u32, texture height u32, pixels (texture
//   width * 4 bytes a row, no padding), then FNV-1a 64 of every byte before it.
constexpr uint8_t kMagic[4] = {'V', 'P', 'C', 'E'};
constexpr size_t kFixedBytes = 4 + 4 + 8 + 8 + 4 + 8 + 4 + 8 + 16 + 8;  // all but path and pixels
constexpr char16_t kFileSuffix[] = u".entry";
constexpr size_t kHashDigits = 16;

constexpr uint64_t kFnvOffset = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;

uint64_t Fnv1a(uint64_t hash, const uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) hash = (hash ^ bytes[i]) * kFnvPrime;
    return hash;
}

void Put(std::vector<uint8_t>& out, uint64_t value, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

// The key as it opens an entry, after the magic; also what the file name hashes.
void PutKey(std::vector<uint8_t>& out, const PictureCacheKey& key) {
    Put(out, key.version, 4);
    Put(out, key.file.size, 8);
    Put(out, key.file.writeTime, 8);
    Put(out, key.file.volume, 4);
    Put(out, key.file.index, 8);
    Put(out, key.path.size(), 4);
    for (char16_t unit : key.path) Put(out, unit, 2);
    Put(out, uint32_t(key.screenWidth), 4);
    Put(out, uint32_t(key.maxSide), 4);
}

TextureSideRule RuleOf(const PictureCacheKey& key) {
    return key.screenWidth == 0 ? TextureSideRule() : TextureSideRule::FromScreen(key.screenWidth, key.maxSide);
}

// Reads little-endian numbers from a buffer; every read past its end fails.
class Reader {
public:
    Reader(const uint8_t* bytes, size_t count) : bytes_(bytes), count_(count) {}
    bool Get(uint64_t& value, size_t bytes) {
        if (count_ - at_ < bytes) return false;
        value = 0;
        for (size_t i = 0; i < bytes; ++i) value |= uint64_t(bytes_[at_ + i]) << (8 * i);
        at_ += bytes;
        return true;
    }
    bool Expect(uint64_t wanted, size_t bytes) {
        uint64_t value = 0;
        return Get(value, bytes) && value == wanted;
    }
    // Returns the next `bytes` bytes and moves past them, or none.
    const uint8_t* Take(size_t bytes) {
        if (count_ - at_ < bytes) return nullptr;
        const uint8_t* start = bytes_ + at_;
        at_ += bytes;
        return start;
    }
    size_t Position() const { return at_; }
    size_t Left() const { return count_ - at_; }

private:
    const uint8_t* bytes_;
    size_t count_;
    size_t at_ = 0;
};

// The texture sides are those the key's rule gives the picture's sizes, so an
// entry edited can never shape a quad.
bool SizesAgree(const PictureCacheImage& image, const PictureCacheKey& key) {
    if (image.width <= 0 || image.height <= 0) return false;
    const TextureShape shape = RuleOf(key).Shape(image.width, image.height);
    return image.textureWidth == shape.width && image.textureHeight == shape.height;
}

// Latin Extended-A pairs a capital with the small letter after it, except in
// 0139..0148 and 0179..017E, where the capital is odd, and a few letters
// (0130, 0131, 0138, 0149, 017F) whose case rules differ by language and are
// left alone: folding them could make two names one that Windows keeps apart.
char16_t FoldLatinExtended(char16_t unit) {
    if (unit == 0x0178) return 0x00FF;
    if ((unit >= 0x0139 && unit <= 0x0148) || (unit >= 0x0179 && unit <= 0x017E)) {
        return (unit & 1) ? char16_t(unit + 1) : unit;
    }
    if ((unit >= 0x0100 && unit <= 0x012F) || (unit >= 0x0132 && unit <= 0x0137) ||
        (unit >= 0x014A && unit <= 0x0177)) {
        return char16_t(unit | 1);
    }
    return unit;
}

// Only pairs that Windows also treats as one letter in file names are folded,
// so a fold never joins two files; a letter left unfolded only costs a miss.
char16_t FoldUnit(char16_t unit) {
    if (unit >= u'A' && unit <= u'Z') return char16_t(unit + 0x20);
    if (unit < 0x00C0) return unit;
    if (unit <= 0x00DE) return unit == 0x00D7 ? unit : char16_t(unit + 0x20);  // not the ×
    if (unit >= 0x0100 && unit <= 0x017F) return FoldLatinExtended(unit);
    if (unit >= 0x0391 && unit <= 0x03AB && unit != 0x03A2) return char16_t(unit + 0x20);
    if (unit >= 0x0400 && unit <= 0x040F) return char16_t(unit + 0x50);
    if (unit >= 0x0410 && unit <= 0x042F) return char16_t(unit + 0x20);
    return unit;
}

}  // namespace

std::u16string FoldPathCase(std::u16string_view path) {
    std::u16string folded(path);
    for (char16_t& unit : folded) unit = FoldUnit(unit);
    return folded;
}

PictureCacheKey MakePictureCacheKey(std::u16string_view listedPath, const PictureFileState& state) {
    PictureCacheKey key;
    key.path = FoldPathCase(listedPath);
    key.file = state;
    return key;
}

bool SameKey(const PictureCacheKey& a, const PictureCacheKey& b) {
    return a.version == b.version && a.screenWidth == b.screenWidth && a.maxSide == b.maxSide &&
           a.file.size == b.file.size &&
           a.file.writeTime == b.file.writeTime && a.file.volume == b.file.volume &&
           a.file.index == b.file.index && a.path == b.path;
}

std::u16string PictureCacheFileName(const PictureCacheKey& key) {
    std::vector<uint8_t> keyBytes;
    PutKey(keyBytes, key);
    uint64_t hash = Fnv1a(kFnvOffset, keyBytes.data(), keyBytes.size());
    std::u16string name(kHashDigits, u'0');
    for (size_t i = kHashDigits; i-- > 0; hash >>= 4) name[i] = u"0123456789abcdef"[hash & 15];
    return name + kFileSuffix;
}

bool IsPictureCacheFileName(std::u16string_view name) {
    const std::u16string_view suffix(kFileSuffix);
    if (name.size() != kHashDigits + suffix.size() || name.substr(kHashDigits) != suffix) {
        return false;
    }
    for (size_t i = 0; i < kHashDigits; ++i) {
        const char16_t unit = name[i];
        if (!((unit >= u'0' && unit <= u'9') || (unit >= u'a' && unit <= u'f'))) return false;
    }
    return true;
}

size_t MaxPictureCacheEntryBytes() {
    return kFixedBytes + 2 * kMaxCachedPathUnits +
           size_t(kMaxScreenTextureSide) * kMaxScreenTextureSide * 4;
}

std::vector<uint8_t> ComposePictureCacheEntry(const PictureCacheKey& key,
                                              const PictureCacheImage& image) {
    const size_t rowBytes = size_t(image.textureWidth) * 4;
    if (key.path.size() > kMaxCachedPathUnits || !SizesAgree(image, key) || !image.pixels ||
        image.stride < rowBytes) {
        return {};
    }
    std::vector<uint8_t> out;
    out.reserve(kFixedBytes + 2 * key.path.size() + rowBytes * size_t(image.textureHeight));
    out.insert(out.end(), kMagic, kMagic + sizeof kMagic);
    PutKey(out, key);
    Put(out, uint32_t(image.width), 4);
    Put(out, uint32_t(image.height), 4);
    Put(out, uint32_t(image.textureWidth), 4);
    Put(out, uint32_t(image.textureHeight), 4);
    for (int32_t row = 0; row < image.textureHeight; ++row) {
        const uint8_t* from = image.pixels + size_t(row) * image.stride;
        out.insert(out.end(), from, from + rowBytes);
    }
    Put(out, Fnv1a(kFnvOffset, out.data(), out.size()), 8);
    return out;
}

// The key is compared before any size is believed, and every size is checked
// against its range and against the bytes that are there before it is used.
bool ParsePictureCacheEntry(const uint8_t* bytes, size_t count, const PictureCacheKey& key,
                            PictureCacheImage& image) {
    image = PictureCacheImage();
    if (!bytes) return false;
    Reader in(bytes, count);
    const uint8_t* magic = in.Take(sizeof kMagic);
    if (!magic || std::memcmp(magic, kMagic, sizeof kMagic) != 0) return false;
    if (!in.Expect(key.version, 4) || !in.Expect(key.file.size, 8) ||
        !in.Expect(key.file.writeTime, 8) || !in.Expect(key.file.volume, 4) ||
        !in.Expect(key.file.index, 8) || !in.Expect(key.path.size(), 4)) {
        return false;
    }
    for (char16_t unit : key.path) {
        if (!in.Expect(unit, 2)) return false;
    }
    if (!in.Expect(uint32_t(key.screenWidth), 4) || !in.Expect(uint32_t(key.maxSide), 4)) return false;
    uint64_t width = 0, height = 0, textureWidth = 0, textureHeight = 0;
    if (!in.Get(width, 4) || !in.Get(height, 4) || !in.Get(textureWidth, 4) ||
        !in.Get(textureHeight, 4)) {
        return false;
    }
    PictureCacheImage found;
    found.width = int32_t(uint32_t(width));
    found.height = int32_t(uint32_t(height));
    if (textureWidth > uint64_t(kMaxScreenTextureSide) ||
        textureHeight > uint64_t(kMaxScreenTextureSide)) {
        return false;
    }
    found.textureWidth = int32_t(textureWidth);
    found.textureHeight = int32_t(textureHeight);
    if (!SizesAgree(found, key)) return false;
    found.stride = size_t(found.textureWidth) * 4;
    const size_t pixelBytes = found.stride * size_t(found.textureHeight);
    found.pixels = in.Take(pixelBytes);
    const size_t summed = in.Position();
    uint64_t checksum = 0;
    if (!found.pixels || !in.Get(checksum, 8) || in.Left() != 0 ||
        checksum != Fnv1a(kFnvOffset, bytes, summed)) {
        return false;
    }
    image = found;
    return true;
}

}  // namespace WorkSpace
