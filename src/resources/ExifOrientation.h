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

// Returns the GDI+ RotateFlipType value (0 to 7) that turns a picture stored
// with `orientation` upright; 0 (none) for 1 and any unknown value.
int32_t UprightRotateFlip(int32_t orientation);

// Returns true when turning the picture upright swaps its width and height.
bool UprightSwapsSides(int32_t orientation);

}  // namespace WorkSpace
