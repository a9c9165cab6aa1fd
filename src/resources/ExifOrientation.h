#pragma once
// The orientation that a camera records in a JPEG's EXIF data, read from the
// file's first bytes. GDI+ under Wine offers no property items for JPEG files,
// so this reader is the one source on every platform.
#include <cstddef>
#include <cstdint>

namespace WorkSpace {

// Bytes of the file's start that the reader needs at most: the EXIF segment
// comes before the picture data and is limited to 64 KiB.
constexpr std::size_t kExifScanBytes = 64 * 1024;

// Returns the EXIF orientation, 1 to 8, of the JPEG whose first `size` bytes are
// `data`; 1 (stored upright) when there is no EXIF data, no orientation tag, a
// damaged segment or a value outside 1 to 8. Never reads outside `data`.
int32_t ReadExifOrientation(const uint8_t* data, std::size_t size);

// How a picture stored with an EXIF orientation is turned upright: a clockwise
// rotation, then a horizontal flip. Kept as two steps because GDI+ builds do
// not agree on the order of the combined rotate-and-flip operations.
struct UprightTurn {
    int32_t clockwiseDegrees = 0;  // 0, 90, 180 or 270
    bool flipHorizontally = false;
};

// Returns the turn that makes a picture stored with `orientation` upright;
// no turn for 1 and any unknown value.
UprightTurn UprightTurnFor(int32_t orientation);

}  // namespace WorkSpace
