#include "resources/PictureHeader.h"

#include <cstring>

namespace WorkSpace {
namespace {

// JPEG segments walked before the frame header at most, and fill bytes
// skipped between them in all; TIFF directory entries read at most; icon
// images looked at at most. Real files need a handful of each.
constexpr int kMaxJpegSegments = 4096;
constexpr uint64_t kMaxJpegFill = 65536;
constexpr uint64_t kMaxTiffEntries = 1024;
constexpr uint32_t kMaxIconImages = 256;

uint32_t Big16(const uint8_t* p) { return uint32_t(p[0]) << 8 | p[1]; }
uint32_t Big32(const uint8_t* p) { return Big16(p) << 16 | Big16(p + 2); }
uint32_t Little16(const uint8_t* p) { return uint32_t(p[1]) << 8 | p[0]; }
uint32_t Little32(const uint8_t* p) { return Little16(p + 2) << 16 | Little16(p); }
uint64_t Big64(const uint8_t* p) { return uint64_t(Big32(p)) << 32 | Big32(p + 4); }
uint64_t Little64(const uint8_t* p) { return uint64_t(Little32(p + 4)) << 32 | Little32(p); }

// What a header says of a picture's size.
enum class Claim { Read, Unreadable, NotAPicture };

const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

Claim Sides(uint32_t w, uint32_t h, uint32_t& width, uint32_t& height) {
    width = w;
    height = h;
    return Claim::Read;
}

bool ReadExactly(ByteSource& source, uint64_t offset, uint8_t* out, size_t count) {
    return source.ReadAt(offset, out, count) == count;
}

// The start-of-frame markers of every JPEG coding process (not DHT, JPG, DAC).
bool IsFrameMarker(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the segments to the frame header. Fill bytes (any number of FF
// before a marker) are skipped a block at a time.
Claim JpegSize(ByteSource& source, uint32_t& width, uint32_t& height) {
    uint64_t at = 2;
    uint64_t fill = 0;
    for (int segment = 0; segment < kMaxJpegSegments;) {
        uint8_t head[64];
        const size_t got = source.ReadAt(at, head, sizeof head);
        if (got < 2 || head[0] != 0xFF) return Claim::Unreadable;
        size_t skip = 0;
        while (skip + 1 < got && head[skip + 1] == 0xFF) ++skip;
        if (skip > 0) {
            fill += skip;
            if (fill > kMaxJpegFill) return Claim::Unreadable;
            at += skip;
            continue;
        }
        ++segment;
        const uint8_t marker = head[1];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // no length follows
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return Claim::Unreadable;  // no frame before the data
        if (IsFrameMarker(marker)) {
            uint8_t frame[7];  // length, precision, height, width
            if (!ReadExactly(source, at + 2, frame, sizeof frame)) return Claim::Unreadable;
            return Sides(Big16(frame + 5), Big16(frame + 3), width, height);
        }
        if (got < 4) return Claim::Unreadable;
        const uint32_t length = Big16(head + 2);
        if (length < 2) return Claim::Unreadable;
        at += 2 + length;
    }
    return Claim::Unreadable;
}

// Reads the sides from the first directory, of a classic TIFF (16-bit
// counts, 12-byte entries, 32-bit offsets) or a BigTIFF (64-bit counts,
// 20-byte entries, 64-bit offsets).
Claim TiffSize(ByteSource& source, const uint8_t* start, uint32_t& width, uint32_t& height) {
    const bool little = start[0] == 'I';
    auto read16 = [little](const uint8_t* p) { return little ? Little16(p) : Big16(p); };
    auto read32 = [little](const uint8_t* p) { return little ? Little32(p) : Big32(p); };
    auto read64 = [little](const uint8_t* p) { return little ? Little64(p) : Big64(p); };
    const uint32_t version = read16(start + 2);
    const bool big = version == 43;
    if (!big && version != 42) return Claim::NotAPicture;
    if (big && (read16(start + 4) != 8 || read16(start + 6) != 0)) return Claim::Unreadable;
    const uint64_t directory = big ? read64(start + 8) : read32(start + 4);
    const size_t countSize = big ? 8 : 2, entrySize = big ? 20 : 12, valueAt = big ? 12 : 8;
    uint8_t countBytes[8];
    if (!ReadExactly(source, directory, countBytes, countSize)) return Claim::Unreadable;
    const uint64_t count = big ? read64(countBytes) : read16(countBytes);
    bool haveWidth = false, haveHeight = false;
    for (uint64_t i = 0; i < count && i < kMaxTiffEntries; ++i) {
        uint8_t entry[20];  // tag, type, count, value
        if (!ReadExactly(source, directory + countSize + i * entrySize, entry, entrySize)) {
            return Claim::Unreadable;
        }
        const uint32_t tag = read16(entry);
        if (tag != 256 && tag != 257) continue;
        const uint32_t type = read16(entry + 2);
        uint64_t value = 0;
        if (type == 3) value = read16(entry + valueAt);                  // SHORT
        else if (type == 4) value = read32(entry + valueAt);             // LONG
        else if (type == 16 && big) value = read64(entry + valueAt);     // LONG8
        else return Claim::Unreadable;
        const uint32_t side = value > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(value);
        if (tag == 256) width = side, haveWidth = true;
        else height = side, haveHeight = true;
        if (haveWidth && haveHeight) return Claim::Read;
    }
    width = height = 0;
    return Claim::Unreadable;
}

// An icon or cursor file: a directory of images, each a PNG or a bitmap
// without its file header. The claim is that of its largest image.
Claim IconSize(ByteSource& source, uint32_t count, uint32_t& width, uint32_t& height) {
    if (count == 0 || count > kMaxIconImages) return Claim::Unreadable;
    uint64_t most = 0;
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t entry[16];  // sides, colours, planes, bits, size, offset
        if (!ReadExactly(source, 6 + uint64_t(i) * 16, entry, sizeof entry)) return Claim::Unreadable;
        const uint64_t offset = Little32(entry + 12);
        uint8_t image[24];
        if (!ReadExactly(source, offset, image, sizeof image)) return Claim::Unreadable;
        uint32_t w = 0, h = 0;
        if (std::memcmp(image, kPng, 8) == 0 && std::memcmp(image + 12, "IHDR", 4) == 0) {
            w = Big32(image + 16);
            h = Big32(image + 20);
        } else if (Little32(image) >= 40) {  // a bitmap's height counts its mask too
            const int32_t sw = int32_t(Little32(image + 4));
            const int32_t sh = int32_t(Little32(image + 8));
            w = sw < 0 ? 0u - uint32_t(sw) : uint32_t(sw);
            h = (sh < 0 ? 0u - uint32_t(sh) : uint32_t(sh)) / 2;
        } else {
            return Claim::Unreadable;
        }
        if (uint64_t(w) * h >= most) {
            most = uint64_t(w) * h;
            width = w;
            height = h;
        }
    }
    return Claim::Read;
}

Claim ReadClaim(ByteSource& source, uint32_t& width, uint32_t& height) {
    width = height = 0;
    uint8_t head[26] = {};
    const size_t got = source.ReadAt(0, head, sizeof head);
    if (got >= 8 && std::memcmp(head, kPng, 8) == 0) {
        // The header chunk comes first in every PNG.
        if (got < 24 || std::memcmp(head + 12, "IHDR", 4) != 0) return Claim::Unreadable;
        return Sides(Big32(head + 16), Big32(head + 20), width, height);
    }
    if (got >= 6 && (std::memcmp(head, "GIF87a", 6) == 0 || std::memcmp(head, "GIF89a", 6) == 0)) {
        if (got < 10) return Claim::Unreadable;
        return Sides(Little16(head + 6), Little16(head + 8), width, height);
    }
    if (got >= 2 && head[0] == 'B' && head[1] == 'M') {
        if (got < 26) return Claim::Unreadable;
        if (Little32(head + 14) == 12) {  // the oldest header: 16-bit sides
            return Sides(Little16(head + 18), Little16(head + 20), width, height);
        }
        // Signed sides; a negative height is a picture stored top row first.
        const int32_t w = int32_t(Little32(head + 18));
        const int32_t h = int32_t(Little32(head + 22));
        return Sides(w < 0 ? 0u - uint32_t(w) : uint32_t(w), h < 0 ? 0u - uint32_t(h) : uint32_t(h),
                     width, height);
    }
    if (got >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) {
        return JpegSize(source, width, height);
    }
    if (got >= 4 && ((head[0] == 'I' && head[1] == 'I') || (head[0] == 'M' && head[1] == 'M'))) {
        if (got < 16) return Claim::Unreadable;
        return TiffSize(source, head, width, height);
    }
    if (got >= 6 && Little16(head) == 0 && (Little16(head + 2) == 1 || Little16(head + 2) == 2)) {
        return IconSize(source, Little16(head + 4), width, height);
    }
    return Claim::NotAPicture;
}

}  // namespace

size_t MemoryByteSource::ReadAt(uint64_t offset, uint8_t* out, size_t count) {
    if (offset >= size_) return 0;
    const size_t available = size_ - size_t(offset);
    const size_t n = count < available ? count : available;
    std::memcpy(out, data_ + offset, n);
    return n;
}

bool ReadClaimedSize(ByteSource& source, uint32_t& width, uint32_t& height) {
    const bool read = ReadClaim(source, width, height) == Claim::Read;
    if (!read) width = height = 0;
    return read;
}

bool RefusedByHeader(ByteSource& source) {
    uint32_t width = 0, height = 0;
    switch (ReadClaim(source, width, height)) {
    case Claim::Read: return uint64_t(width) * uint64_t(height) > kMaxPicturePixels;
    case Claim::Unreadable: return true;
    case Claim::NotAPicture: return false;
    }
    return true;
}

}  // namespace WorkSpace
