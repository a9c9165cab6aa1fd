#pragma once
// Where the renderer puts its vertices: a flying picture's corners, the soft
// border's eight quads around it, the logo's rectangle, and when a window is
// large enough to show the scene. Portable, so the vertex orders are tested
// without a context.
#include <array>
#include <cstdint>

#include "scene/SceneModel.h"

namespace WorkSpace {

// Smallest client area that shows the scene, pixels.
constexpr int32_t kSceneMinWidth = 640;
constexpr int32_t kSceneMinHeight = 480;

// Width of the soft border around each flying picture, world units.
constexpr double kSoftBorder = 0.5;

// Returns true when a client rectangle shows the scene; smaller windows (the
// Display Properties preview) show the background only.
bool ShowsScene(int32_t left, int32_t top, int32_t right, int32_t bottom);

// Returns true when the quads are drawn first to last: with the eye at z > 0
// that is far to near; at or below 0 they are drawn last to first.
inline bool DrawsForward(float eyeZ) { return eyeZ > 0.0f; }

// A flying picture's extent, world units.
struct PictureBounds {
    double left = 0.0;
    double bottom = 0.0;
    double right = 0.0;
    double top = 0.0;
};
PictureBounds BoundsOf(const SceneQuad& quad);

// One vertex: position and texture coordinate (t = 0 is the picture's top).
struct TexturedVertex {
    float x, y, s, t;
};
// Returns the corners in drawing order: left-bottom, right-bottom, right-top, left-top.
std::array<TexturedVertex, 4> PictureCorners(const PictureBounds& bounds);

// One border vertex: black at `alpha` (1 on the picture's edge, 0 outside).
struct BorderVertex {
    float x, y, alpha;
};
constexpr int kBorderVertices = 32;
// Returns the border's eight quads, four vertices each, in drawing order:
// left side, bottom-left corner, bottom side, bottom-right corner, right side,
// top-right corner, top side, top-left corner; `border` units out.
std::array<BorderVertex, kBorderVertices> SoftBorderVertices(const PictureBounds& bounds,
                                                             double border);

// Returns the logo's corners in window pixels, in the same order as a
// picture's: the quad is two pixels wider and higher than the image.
std::array<TexturedVertex, 4> LogoCorners(const SceneQuad& logo);

}  // namespace WorkSpace
