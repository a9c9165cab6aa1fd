#pragma once
// Where each monitor lies in the saver window: the window spans the virtual
// screen, and every monitor it covers gets a scene of its own in its part of
// the client area. Portable, so the clipping and the flip to OpenGL's
// bottom-up viewport are tested without a window.
#include <cstdint>
#include <vector>

namespace WorkSpace {

// A rectangle in pixels, y growing downwards; right and bottom exclusive.
struct MonitorRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool operator==(const MonitorRect& other) const {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
};

// An OpenGL viewport or scissor box: origin at the bottom-left, pixels.
struct GlViewport {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Returns the monitors' parts of a client area of `width` x `height` pixels
// whose top-left corner lies at (`originX`, `originY`) on the virtual screen:
// each monitor (virtual-screen pixels) moved into client pixels and cut to
// the client area, in the platform's order, those left empty dropped. When
// none is left, the whole client area is the one monitor.
std::vector<MonitorRect> MonitorsInClient(const std::vector<MonitorRect>& monitors,
                                          int32_t originX, int32_t originY, int32_t width,
                                          int32_t height);

// Returns the viewport of a monitor's part of a client area `clientHeight`
// pixels high.
GlViewport ViewportOf(const MonitorRect& monitor, int32_t clientHeight);

}  // namespace WorkSpace
