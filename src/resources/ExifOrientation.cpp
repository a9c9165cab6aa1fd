#include "resources/ExifOrientation.h"

namespace WorkSpace {
namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTypeShort = 3;
constexpr std::size_t kIfdEntryBytes = 12;

// A bounds-checked view of the TIFF block inside the APP1 segment.
struct TiffView {
    const uint8_t* data;
    std::size_t size;
    bool bigEndian;

    bool Read16(std::size_t at, uint16_t& value) const {
        if (at > size || size - at < 2) return false;
        value = bigEndian ? uint16_t(data[at] << 8 | data[at + 1])
                          : uint16_t(data[at + 1] << 8 | data[at]);
        return true;
    }
    bool Read32(std::size_t at, uint32_t& value) const {
        uint16_t first = 0, second = 0;
        if (!Read16(at, first) || !Read16(at + 2, second)) return false;
        value = bigEndian ? (uint32_t(first) << 16 | second) : (uint32_t(second) << 16 | first);
        return true;
    }
};

// Returns the orientation in a TIFF block, or 1.
int32_t OrientationInTiff(const uint8_t* data, std::size_t size) {
    if (size < 8) return 1;
    TiffView tiff{data, size, false};
    if (data[0] == 'M' && data[1] == 'M') {
        tiff.bigEndian = true;
    } else if (!(data[0] == 'I' && data[1] == 'I')) {
        return 1;
    }
    uint16_t magic = 0;
    uint32_t ifd = 0;
    if (!tiff.Read16(2, magic) || magic != 42 || !tiff.Read32(4, ifd)) return 1;
    uint16_t count = 0;
    if (!tiff.Read16(ifd, count)) return 1;
    // Only IFD0 is read, so no chain of offsets can lead the reader round in a loop.
    for (uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = std::size_t(ifd) + 2 + std::size_t(i) * kIfdEntryBytes;
        uint16_t tag = 0, type = 0, value = 0;
        uint32_t values = 0;
        if (!tiff.Read16(entry, tag) || !tiff.Read16(entry + 2, type) ||
            !tiff.Read32(entry + 4, values)) {
            return 1;
        }
        if (tag != kOrientationTag) continue;
        if (type != kTypeShort || values < 1 || !tiff.Read16(entry + 8, value)) return 1;
        return (value >= 1 && value <= 8) ? int32_t(value) : 1;
    }
    return 1;
}

bool IsExifHeader(const uint8_t* segment, std::size_t length) {
    static const uint8_t kHeader[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (length < sizeof(kHeader)) return false;
    for (std::size_t i = 0; i < sizeof(kHeader); ++i) {
        if (segment[i] != kHeader[i]) return false;
    }
    return true;
}

}  // namespace

int32_t ReadExifOrientation(const uint8_t* data, std::size_t size) {
    if (!data || size < 4 || data[0] != 0xFF || data[1] != 0xD8) return 1;
    std::size_t pos = 2;
    while (pos + 4 <= size) {
        if (data[pos] != 0xFF) return 1;
        const uint8_t marker = data[pos + 1];
        if (marker == 0xFF) {  // fill byte before a marker
            ++pos;
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2;  // markers without a length
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) return 1;  // picture data or end: no EXIF before it
        const std::size_t length = std::size_t(data[pos + 2]) << 8 | data[pos + 3];
        if (length < 2) return 1;
        const std::size_t bodyStart = pos + 4;
        const std::size_t bodyLength = length - 2;
        if (marker == 0xE1 && IsExifHeader(data + bodyStart, size - bodyStart)) {
            // A segment cut off by the end of the data is read as far as it goes.
            const std::size_t available = size - bodyStart < bodyLength ? size - bodyStart : bodyLength;
            if (available < 6) return 1;
            return OrientationInTiff(data + bodyStart + 6, available - 6);
        }
        pos = bodyStart + bodyLength;
    }
    return 1;
}

UprightTurn UprightTurnFor(int32_t orientation) {
    switch (orientation) {
    case 2: return {0, true};
    case 3: return {180, false};
    case 4: return {180, true};  // a vertical flip
    case 5: return {90, true};
    case 6: return {90, false};
    case 7: return {270, true};
    case 8: return {270, false};
    default: return {0, false};
    }
}

}  // namespace WorkSpace
