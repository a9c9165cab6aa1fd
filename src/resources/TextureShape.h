#pragma once
// How large a picture's texture is made. Each side is a power of two: by the
// classic table (at most 256 texels), or as large as the picture ever appears
// on screen, never more than the picture's own side rounded up to a power of
// two, nor more than a limit (the graphics card's largest texture, or what
// the memory budget leaves the picture's slot). Portable.
#include <cstdint>

namespace WorkSpace {

struct TextureShape {
    int32_t width = 0;   // texels
    int32_t height = 0;
};

// Largest side of the classic table, texels.
constexpr int32_t kMaxTextureSide = 256;

// Largest side any rule gives, texels: a 4096 x 4096 texture already covers
// the nearest slot of a 7680 x 4320 screen.
constexpr int32_t kMaxScreenTextureSide = 4096;

// Returns the classic texture side for a picture side of `pixels`: 16, 32,
// 64, 128 or 256. A side of exactly 16, 32 or 64 goes to the next step up.
int32_t PowerOfTwoSide(int32_t pixels);

// Returns the smallest power of two at least `value` (1 for values below 1),
// at most 2^30.
int32_t NextPowerOfTwo(int64_t value);

class TextureSideRule {
public:
    // The classic table.
    TextureSideRule() = default;
    // Each side mapped on its own by `perSide` (a table of a test's own).
    TextureSideRule(int32_t (*perSide)(int32_t)) : perSide_(perSide) {}  // NOLINT: a table is a rule
    // A picture whose width spans `screenWidth` pixels on screen where it
    // comes nearest, each side at most `maxSide` texels (a power of two, at
    // least 16; larger values are cut to kMaxScreenTextureSide).
    static TextureSideRule FromScreen(int32_t screenWidth, int32_t maxSide);

    // Returns the texture of a picture of `width` x `height` pixels, upright.
    TextureShape Shape(int32_t width, int32_t height) const;

    // 0 for the classic table and a per-side table; else the rule's figures.
    int32_t ScreenWidth() const { return screenWidth_; }
    int32_t MaxSide() const { return maxSide_; }
    // True for the classic table and the screen rules, which a picture cache
    // can name by ScreenWidth and MaxSide; false for a per-side table.
    bool Nameable() const { return perSide_ == nullptr; }

private:
    int32_t (*perSide_)(int32_t) = nullptr;
    int32_t screenWidth_ = 0;          // pixels; 0: the classic table
    int32_t maxSide_ = kMaxTextureSide; // texels
};

}  // namespace WorkSpace
