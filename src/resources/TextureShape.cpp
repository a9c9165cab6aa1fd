#include "resources/TextureShape.h"

#include <algorithm>
#include <cmath>

namespace WorkSpace {
namespace {

constexpr int32_t kMinSide = 16;

// The power of two nearest `value` on a scale of ratios: a side from about
// 0.71 to 1.41 times a power of two becomes that power, so a texture is never
// stretched or shrunk by more than that on screen.
int32_t NearestPowerOfTwo(double value) {
    if (!(value > 1.0)) return 1;
    const double exponent = std::min(30.0, std::round(std::log2(value)));
    return int32_t(1) << int32_t(exponent);
}

}  // namespace

// Pictures are cut down to at most 256 texels a side: the mipmaps serve the
// further reduction on screen, and a band of 64..399 pixels all become 128.
int32_t PowerOfTwoSide(int32_t pixels) {
    if (pixels < 16) return 16;
    if (pixels < 32) return 32;
    if (pixels < 64) return 64;
    if (pixels < 400) return 128;
    return kMaxTextureSide;
}

int32_t NextPowerOfTwo(int64_t value) {
    int32_t power = 1;
    while (power < value && power < (int32_t(1) << 30)) power <<= 1;
    return power;
}

TextureSideRule TextureSideRule::FromScreen(int32_t screenWidth, int32_t maxSide) {
    TextureSideRule rule;
    rule.screenWidth_ = std::max(1, screenWidth);
    rule.maxSide_ = std::clamp(NextPowerOfTwo(maxSide) == maxSide ? maxSide : NextPowerOfTwo(maxSide) / 2,
                               kMinSide, kMaxScreenTextureSide);
    return rule;
}

TextureShape TextureSideRule::Shape(int32_t width, int32_t height) const {
    if (perSide_) return {perSide_(width), perSide_(height)};
    if (screenWidth_ == 0) return {PowerOfTwoSide(width), PowerOfTwoSide(height)};
    if (width < 1 || height < 1) return {kMinSide, kMinSide};
    // The picture keeps its proportions on screen: its height spans the
    // screen width times height / width.
    const double across = screenWidth_;
    const double down = across * double(height) / double(width);
    auto side = [this](int32_t pictureSide, double onScreen) {
        const int32_t wanted = std::min(NearestPowerOfTwo(onScreen), NextPowerOfTwo(pictureSide));
        return std::clamp(wanted, kMinSide, maxSide_);
    };
    return {side(width, across), side(height, down)};
}

}  // namespace WorkSpace
