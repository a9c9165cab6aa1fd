#pragma once
// A texture's chain of mipmap levels made ahead of its upload, on a thread
// that is not the one drawing: each level halves the one before with a box
// filter, as GLU's mipmap builder halves a power-of-two picture, so that the
// upload is only a copy per level. Portable.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace WorkSpace {

// One level: 24-bit pixels in blue-green-red order, top row first, each row
// padded to a multiple of four bytes (OpenGL's default unpack alignment).
struct MipLevel {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;
};

// Returns the bytes of a row of `width` 24-bit pixels, padded to four.
size_t MipRowBytes(int32_t width);

// Returns the chain down to 1 x 1 from a level 0 of `width` x `height` (each
// side 1 or more) whose 32-bit pixels (blue, green, red, alpha in memory)
// start at `argb`, rows `stride` bytes apart; the alpha is dropped, as the
// picture textures keep none. Each next level halves each side that is
// above 1, every texel the rounded mean of the 2 x 2 (or 2 x 1) texels it covers.
std::vector<MipLevel> BuildMipChain(const uint8_t* argb, int32_t width, int32_t height,
                                    size_t stride);

}  // namespace WorkSpace
