#include "scene/MipChain.h"

namespace WorkSpace {

size_t MipRowBytes(int32_t width) { return (size_t(width) * 3 + 3) & ~size_t(3); }

std::vector<MipLevel> BuildMipChain(const uint8_t* argb, int32_t width, int32_t height,
                                    size_t stride) {
    std::vector<MipLevel> chain;
    if (!argb || width < 1 || height < 1) return chain;
    MipLevel base{width, height, std::vector<uint8_t>(MipRowBytes(width) * size_t(height))};
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* from = argb + size_t(y) * stride;
        uint8_t* to = base.pixels.data() + size_t(y) * MipRowBytes(width);
        for (int32_t x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) to[x * 3 + c] = from[x * 4 + c];
        }
    }
    chain.push_back(std::move(base));
    while (chain.back().width > 1 || chain.back().height > 1) {
        const MipLevel& above = chain.back();
        const int32_t w = above.width > 1 ? above.width / 2 : 1;
        const int32_t h = above.height > 1 ? above.height / 2 : 1;
        const int32_t dx = above.width > 1 ? 1 : 0;  // second texel across, when there is one
        const int32_t dy = above.height > 1 ? 1 : 0;
        const size_t aboveRow = MipRowBytes(above.width);
        MipLevel level{w, h, std::vector<uint8_t>(MipRowBytes(w) * size_t(h))};
        for (int32_t y = 0; y < h; ++y) {
            const uint8_t* top = above.pixels.data() + size_t(y * (1 + dy)) * aboveRow;
            const uint8_t* bottom = top + size_t(dy) * aboveRow;
            uint8_t* to = level.pixels.data() + size_t(y) * MipRowBytes(w);
            for (int32_t x = 0; x < w; ++x) {
                const size_t left = size_t(x * (1 + dx)) * 3, right = left + size_t(dx) * 3;
                for (int c = 0; c < 3; ++c) {
                    const unsigned sum = top[left + c] + top[right + c] + bottom[left + c] +
                                         bottom[right + c];
                    to[x * 3 + c] = uint8_t((sum + 2) / 4);
                }
            }
        }
        chain.push_back(std::move(level));
    }
    return chain;
}

}  // namespace WorkSpace
