#pragma once
// A texture's mipmap chain, made on a decoding thread so that the window's
// thread only hands each level to OpenGL. Each level halves the sides of the
// one before (a side of 1 stays 1) down to 1 x 1; each texel is the mean of
// the area of the level above that it covers, so odd sides lose no row or
// column. Texels are 24-bit blue, green, red, rows packed without padding,
// top row first. Portable.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace WorkSpace {

struct MipLevel {
    int32_t width = 0;  // texels
    int32_t height = 0;
    size_t offset = 0;  // of its first texel in the chain's bytes
};

class MipChain {
public:
    // Returns true after taking level 0 from `rows` (`width` x `height`
    // texels, rows `stride` bytes apart) and making every level below it.
    // False, leaving the chain empty, for a side below 1 or without memory.
    bool Build(const uint8_t* rows, ptrdiff_t stride, int32_t width, int32_t height);
    // Empties the chain and frees its memory.
    void Clear();

    size_t Levels() const { return levels_.size(); }
    const MipLevel& Level(size_t index) const { return levels_[index]; }
    const uint8_t* Texels(size_t index) const { return bytes_.data() + levels_[index].offset; }

private:
    std::vector<uint8_t> bytes_;
    std::vector<MipLevel> levels_;
};

}  // namespace WorkSpace
