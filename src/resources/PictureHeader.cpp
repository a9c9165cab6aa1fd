#include "resources/PictureHeader.h"

#include <cstring>

namespace WorkSpace {
namespace {

// JPEG segments walked before the frame header at most; TIFF directory
// entries read at most. Real files need a handful of each.
constexpr int kMaxJpegSegments = 256;
constexpr uint32_t kMaxTiffEntries = 1024;

uint32_t Big16(const uint8_t* p) { return uint32_t(p[0]) << 8 | p[1]; }
uint32_t Big32(const uint8_t* p) { return Big16(p) << 16 | Big16(p + 2); }
uint32_t Little16(const uint8_t* p) { return uint32_t(p[1]) << 8 | p[0]; }
uint32_t Little32(const uint8_t* p) { return Little16(p + 2) << 16 | Little16(p); }

bool ReadExactly(ByteSource& source, uint64_t offset, uint8_t* out, size_t count) {
    return source.ReadAt(offset, out, count) == count;
}

// The start-of-frame markers of every JPEG coding process (not DHT, JPG, DAC).
bool IsFrameMarker(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool JpegSize(ByteSource& source, uint32_t& width, uint32_t& height) {
    uint64_t at = 2;
    for (int segment = 0; segment < kMaxJpegSegments; ++segment) {
        uint8_t head[4];
        if (!ReadExactly(source, at, head, 2) || head[0] != 0xFF) return false;
        if (head[1] == 0xFF) {  // fill byte before a marker
            ++at;
            continue;
        }
        const uint8_t marker = head[1];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // no length follows
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return false;  // no frame before the data
        if (!ReadExactly(source, at + 2, head + 2, 2)) return false;
        if (IsFrameMarker(marker)) {
            uint8_t frame[5];  // precision, height, width
            if (!ReadExactly(source, at + 4, frame, sizeof frame)) return false;
            height = Big16(frame + 1);
            width = Big16(frame + 3);
            return true;
        }
        const uint32_t length = Big16(head + 2);
        if (length < 2) return false;
        at += 2 + length;
    }
    return false;
}

bool TiffSize(ByteSource& source, const uint8_t* start, uint32_t& width, uint32_t& height) {
    const bool little = start[0] == 'I';
    auto read16 = [little](const uint8_t* p) { return little ? Little16(p) : Big16(p); };
    auto read32 = [little](const uint8_t* p) { return little ? Little32(p) : Big32(p); };
    if (read16(start + 2) != 42) return false;  // BigTIFF and others: no claim read
    const uint64_t directory = read32(start + 4);
    uint8_t countBytes[2];
    if (!ReadExactly(source, directory, countBytes, 2)) return false;
    const uint32_t count = read16(countBytes);
    bool haveWidth = false, haveHeight = false;
    for (uint32_t i = 0; i < count && i < kMaxTiffEntries; ++i) {
        uint8_t entry[12];  // tag, type, count, value
        if (!ReadExactly(source, directory + 2 + uint64_t(i) * 12, entry, sizeof entry)) return false;
        const uint32_t tag = read16(entry);
        if (tag != 256 && tag != 257) continue;
        const uint32_t type = read16(entry + 2);
        uint32_t value = 0;
        if (type == 3) value = read16(entry + 8);       // SHORT
        else if (type == 4) value = read32(entry + 8);  // LONG
        else return false;
        if (tag == 256) width = value, haveWidth = true;
        else height = value, haveHeight = true;
        if (haveWidth && haveHeight) return true;
    }
    return false;
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
    width = height = 0;
    uint8_t head[26] = {};
    const size_t got = source.ReadAt(0, head, sizeof head);
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (got >= 24 && std::memcmp(head, kPng, 8) == 0 && std::memcmp(head + 12, "IHDR", 4) == 0) {
        width = Big32(head + 16);
        height = Big32(head + 20);
        return true;
    }
    if (got >= 10 && (std::memcmp(head, "GIF87a", 6) == 0 || std::memcmp(head, "GIF89a", 6) == 0)) {
        width = Little16(head + 6);
        height = Little16(head + 8);
        return true;
    }
    if (got >= 26 && head[0] == 'B' && head[1] == 'M') {
        if (Little32(head + 14) == 12) {  // the oldest header: 16-bit sides
            width = Little16(head + 18);
            height = Little16(head + 20);
        } else {
            // Signed sides; a negative height is a picture stored top row first.
            const int32_t w = int32_t(Little32(head + 18));
            const int32_t h = int32_t(Little32(head + 22));
            width = w < 0 ? 0u - uint32_t(w) : uint32_t(w);
            height = h < 0 ? 0u - uint32_t(h) : uint32_t(h);
        }
        return true;
    }
    if (got >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) {
        return JpegSize(source, width, height);
    }
    if (got >= 8 && ((head[0] == 'I' && head[1] == 'I') || (head[0] == 'M' && head[1] == 'M'))) {
        return TiffSize(source, head, width, height);
    }
    return false;
}

bool ClaimsTooManyPixels(ByteSource& source) {
    uint32_t width = 0, height = 0;
    return ReadClaimedSize(source, width, height) &&
           uint64_t(width) * uint64_t(height) > kMaxPicturePixels;
}

}  // namespace WorkSpace
