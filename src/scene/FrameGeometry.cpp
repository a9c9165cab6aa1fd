#include "scene/FrameGeometry.h"

namespace WorkSpace {

bool ShowsScene(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return int64_t(right) - left >= kSceneMinWidth && int64_t(bottom) - top >= kSceneMinHeight;
}

PictureBounds BoundsOf(const SceneQuad& quad) {
    PictureBounds bounds;
    bounds.left = quad.position.x - quad.width / 2.0;
    bounds.right = quad.position.x + quad.width / 2.0;
    bounds.bottom = quad.position.y - quad.height / 2.0;
    bounds.top = quad.position.y + quad.height / 2.0;
    return bounds;
}

std::array<TexturedVertex, 4> PictureCorners(const PictureBounds& b) {
    const float l = float(b.left), r = float(b.right), bo = float(b.bottom), t = float(b.top);
    return {{{l, bo, 0.0f, 1.0f}, {r, bo, 1.0f, 1.0f}, {r, t, 1.0f, 0.0f}, {l, t, 0.0f, 0.0f}}};
}

// Each side quad fades from the picture's edge outwards; in each corner only
// the vertex on the picture's corner is opaque, so smooth shading rounds the
// shadow off. The vertex order is the one the saver has always drawn.
std::array<BorderVertex, kBorderVertices> SoftBorderVertices(const PictureBounds& b,
                                                             double e) {
    const float L = float(b.left), B = float(b.bottom), R = float(b.right), T = float(b.top);
    const float Lo = float(b.left - e), Bo = float(b.bottom - e);
    const float Ro = float(b.right + e), To = float(b.top + e);
    return {{
        {Lo, B, 0}, {Lo, T, 0}, {L, T, 1}, {L, B, 1},      // left side
        {L, B, 1}, {L, Bo, 0}, {Lo, Bo, 0}, {Lo, B, 0},    // bottom-left corner
        {R, Bo, 0}, {L, Bo, 0}, {L, B, 1}, {R, B, 1},      // bottom side
        {Ro, Bo, 0}, {R, Bo, 0}, {R, B, 1}, {Ro, B, 0},    // bottom-right corner
        {Ro, T, 0}, {Ro, B, 0}, {R, B, 1}, {R, T, 1},      // right side
        {Ro, To, 0}, {Ro, T, 0}, {R, T, 1}, {R, To, 0},    // top-right corner
        {R, T, 1}, {L, T, 1}, {L, To, 0}, {R, To, 0},      // top side
        {L, T, 1}, {Lo, T, 0}, {Lo, To, 0}, {L, To, 0},    // top-left corner
    }};
}

// The logo quad ends two pixels right of and below the image, stretching it
// by those pixels; at the window's bottom edge the last two rows are clipped.
std::array<TexturedVertex, 4> LogoCorners(const SceneQuad& logo) {
    const float left = logo.position.x;
    const float top = logo.position.y;
    const float right = static_cast<float>(logo.position.x + logo.width + 2.0);
    const float bottom = static_cast<float>(logo.position.y + logo.height + 2.0);
    return {{{left, bottom, 0.0f, 1.0f}, {right, bottom, 1.0f, 1.0f},
             {right, top, 1.0f, 0.0f}, {left, top, 0.0f, 0.0f}}};
}

}  // namespace WorkSpace
