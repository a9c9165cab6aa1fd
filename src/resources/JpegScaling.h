#pragma once
// How a JPEG is decoded for a texture: the DCT scale n/8 that still covers the
// texture, and the memory limit past which the fast decoder leaves the file
// alone. Portable.
#include <cstddef>
#include <cstdint>

#include "resources/TextureShape.h"

namespace WorkSpace {

// Largest 32-bit output a scaled JPEG decode may make, bytes (64 MiB).
constexpr uint64_t kJpegOutputLimitBytes = 64u * 1024u * 1024u;

// Returns true when `data`, the first `size` bytes of a file, starts like a
// JPEG: the start-of-image marker followed by another marker.
bool StartsLikeJpeg(const uint8_t* data, std::size_t size);

// Returns the output side of a JPEG side of `side` pixels decoded at scale
// `eighths`/8 (1 to 8): rounded up, as the decoder does.
int32_t ScaledJpegSide(int32_t side, int32_t eighths);

// What to decode a JPEG stored `width` x `height` at.
struct JpegDecodePlan {
    bool fits = false;        // false: the output would pass kJpegOutputLimitBytes
    int32_t eighths = 8;      // scale numerator over 8, 1 to 8
    int32_t outputWidth = 0;  // pixels, as stored (before turning upright)
    int32_t outputHeight = 0;
    int32_t uprightWidth = 0;  // pixels, the whole picture turned upright
    int32_t uprightHeight = 0;
};

// Returns the plan for a JPEG stored `width` x `height` (each at least 1) with
// EXIF `orientation`, whose texture is side.Shape(upright width, upright
// height): the smallest scale whose output reaches the texture size in each
// direction (the full size when none does). Orientations 5 to 8 swap which
// stored side must reach which texture side.
JpegDecodePlan PlanJpegDecode(int32_t width, int32_t height, int32_t orientation,
                              const TextureSideRule& side);

}  // namespace WorkSpace
