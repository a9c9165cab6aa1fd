#include "scene/TextureEntry.h"

#include <algorithm>
#include <cstdint>

namespace WorkSpace {

// Pictures are cut down to at most 256 texels a side: the mipmaps serve the
// further reduction on screen, and a band of 64..399 pixels all become 128.
int32_t PowerOfTwoSide(int32_t pixels) {
    if (pixels < 16) return 16;
    if (pixels < 32) return 32;
    if (pixels < 64) return 64;
    if (pixels < 400) return 128;
    return kMaxTextureSide;
}

int32_t NextFreeName(const std::vector<TextureEntry>& entries) {
    int32_t largest = -1;
    for (const TextureEntry& entry : entries) largest = std::max(largest, entry.name);
    // Starting from -1, the result is negative only where it would overflow.
    if (entries.empty() || largest == INT32_MAX) return kFirstTextureName;
    return largest + 1;
}

}  // namespace WorkSpace
