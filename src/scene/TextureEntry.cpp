#include "scene/TextureEntry.h"

#include <algorithm>
#include <cstdint>

namespace WorkSpace {

int32_t NextFreeName(const std::vector<TextureEntry>& entries) {
    int32_t largest = -1;
    for (const TextureEntry& entry : entries) largest = std::max(largest, entry.name);
    // Starting from -1, the result is negative only where it would overflow.
    if (entries.empty() || largest == INT32_MAX) return kFirstTextureName;
    return largest + 1;
}

}  // namespace WorkSpace
