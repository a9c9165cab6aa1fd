#include "resources/JpegScaling.h"

#include "resources/ExifOrientation.h"

namespace WorkSpace {

bool StartsLikeJpeg(const uint8_t* data, std::size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

int32_t ScaledJpegSide(int32_t side, int32_t eighths) {
    return int32_t((int64_t(side) * eighths + 7) / 8);
}

JpegDecodePlan PlanJpegDecode(int32_t width, int32_t height, int32_t orientation,
                              const TextureSideRule& side) {
    JpegDecodePlan plan;
    const int32_t turn = UprightTurnFor(orientation).clockwiseDegrees;
    const bool swapped = turn == 90 || turn == 270;
    plan.uprightWidth = swapped ? height : width;
    plan.uprightHeight = swapped ? width : height;
    // Turning the picture carries each stored side onto the texture side made
    // from it: a stored width becomes the upright height when the sides swap.
    const TextureShape texture = side.Shape(plan.uprightWidth, plan.uprightHeight);
    const int32_t textureAcross = swapped ? texture.height : texture.width;
    const int32_t textureDown = swapped ? texture.width : texture.height;
    plan.eighths = 1;
    while (plan.eighths < 8 && (ScaledJpegSide(width, plan.eighths) < textureAcross ||
                                ScaledJpegSide(height, plan.eighths) < textureDown)) {
        ++plan.eighths;
    }
    plan.outputWidth = ScaledJpegSide(width, plan.eighths);
    plan.outputHeight = ScaledJpegSide(height, plan.eighths);
    // Checked at the chosen scale, which is never below 1/8: so a header whose
    // 1/8 output alone would pass the limit never fits.
    plan.fits = width > 0 && height > 0 &&
                uint64_t(plan.outputWidth) * uint64_t(plan.outputHeight) * 4u <=
                    kJpegOutputLimitBytes;
    return plan;
}

}  // namespace WorkSpace
