#include "scene/TexturePlan.h"

#include <algorithm>
#include <cmath>

#include "scene/FrameGeometry.h"
#include "scene/SceneModel.h"

namespace WorkSpace {
namespace {

constexpr double kWidestQuad = 9.0;    // world units: quad widths are 5 to 9
constexpr double kFieldOfView = 45.0;  // degrees, vertical
constexpr int32_t kMinSide = 16;

// Returns the z the eye comes nearest the pictures at under `scheme`: it
// rests at 30 or is drawn back from there, except that FallRotation sways it
// forwards to 25; a still scene keeps the camera's start, 100.
double NearestEyeZ(int32_t scheme) {
    switch (scheme) {
    case Rotation:
    case Falling:
    case Approach:
    case Motion: return 30.0;
    case FallRotation: return 25.0;
    default: return 100.0;
    }
}

uint64_t TextureBytes(int32_t side) { return uint64_t(side) * uint64_t(side) * 4u * 4u / 3u; }

}  // namespace

double SlotScreenWidth(int32_t scheme, int32_t slot, int32_t windowHeight) {
    const int32_t slots = SlotCount(scheme);
    const double depth = 40.0 * slot / slots - 20.0;
    const double distance = std::max(1.0, NearestEyeZ(scheme) - depth);
    const double visibleHeight = 2.0 * distance * std::tan(kFieldOfView * 3.14159265358979 / 360.0);
    return kWidestQuad / visibleHeight * windowHeight;
}

std::vector<TextureSideRule> SlotTextureRules(int32_t scheme, int32_t windowWidth,
                                              int32_t windowHeight, int32_t maxTextureSize,
                                              uint64_t budgetBytes) {
    const int32_t slots = SlotCount(scheme);
    if (!ShowsScene(0, 0, windowWidth, windowHeight)) return std::vector<TextureSideRule>(size_t(slots));
    std::vector<int32_t> screen(static_cast<size_t>(slots)), sides(static_cast<size_t>(slots));
    const int32_t largest = std::clamp(maxTextureSize, kMinSide, kMaxScreenTextureSide);
    uint64_t total = 0;
    for (int32_t j = 0; j < slots; ++j) {
        screen[size_t(j)] = int32_t(std::lround(SlotScreenWidth(scheme, j, windowHeight)));
        // A picture as tall as it is wide spans as many pixels down as across.
        sides[size_t(j)] = TextureSideRule::FromScreen(screen[size_t(j)], largest).Shape(1 << 30, 1 << 30).width;
        total += TextureBytes(sides[size_t(j)]);
    }
    // Each round halves every slot once, farthest first, until the scene fits.
    for (bool halved = true; total > budgetBytes && halved;) {
        halved = false;
        for (int32_t j = 0; j < slots && total > budgetBytes; ++j) {
            int32_t& side = sides[size_t(j)];
            if (side <= kMinSide) continue;
            total -= TextureBytes(side) - TextureBytes(side / 2);
            side /= 2;
            halved = true;
        }
    }
    std::vector<TextureSideRule> rules;
    rules.reserve(size_t(slots));
    for (int32_t j = 0; j < slots; ++j) {
        rules.push_back(TextureSideRule::FromScreen(screen[size_t(j)], sides[size_t(j)]));
    }
    return rules;
}

TextureSideRule PictureTextureRule(const std::vector<TextureSideRule>& slots, size_t index,
                                   size_t count) {
    if (slots.empty() || count == 0) return TextureSideRule();
    size_t slot = std::min(index, slots.size() - 1);
    if (index < slots.size() && count < slots.size()) {
        slot = index + (slots.size() - 1 - index) / count * count;
    }
    return slots[slot];
}

}  // namespace WorkSpace
