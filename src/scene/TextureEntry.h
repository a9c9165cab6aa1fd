#pragma once
// One OpenGL object made from a picture, and the rule that names picture
// textures. Portable.
#include <cstdint>
#include <vector>

#include "resources/TextureShape.h"

namespace WorkSpace {

enum TextureKind : int32_t {
    EmptyKind = -1,
    TextureObject = 1,
};

struct TextureEntry {
    int32_t name = 0;           // OpenGL texture name
    int32_t kind = EmptyKind;
    int32_t width = 0;          // pixels of the picture as decoded, before rescaling
    int32_t height = 0;
};

// Name given when a name is asked of an empty list.
constexpr int32_t kFirstTextureName = 1024;

// Returns one more than the largest name among `entries`, or 1024 when the
// list is empty or that result would be negative.
int32_t NextFreeName(const std::vector<TextureEntry>& entries);

}  // namespace WorkSpace
