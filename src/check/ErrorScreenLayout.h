#pragma once
// Where the error screen puts its pictures: the language's message picture
// centred at its own size and the logo in the bottom-left corner in a window of
// at least 640 x 480 pixels; below that only a reduced logo near the middle.
// Sizes and positions are pixels as 32-bit floats, origin top-left.

namespace WorkSpace {

struct RectF {
    float x = 0, y = 0, w = 0, h = 0;
};

struct SizeF {
    float w = 0, h = 0;
};

inline constexpr float kFullLayoutMinWidth = 640.0f;
inline constexpr float kFullLayoutMinHeight = 480.0f;

// Returns whether a window of this size shows the full error screen.
bool ShowsFullErrorScreen(SizeF window);

// Returns the message picture's rectangle: centred at the picture's own size.
RectF CentredPictureRect(SizeF window, SizeF picture);

// Returns the logo's rectangle in a full-size window: bottom-left, own size.
RectF CornerLogoRect(SizeF window, SizeF logo);

// Returns the reduced logo's rectangle in a small window.
RectF ReducedLogoRect(SizeF window, SizeF logo);

// What the error screen shows on one monitor's part of the window.
struct MonitorErrorLayout {
    bool full = false;  // the message picture and the corner logo; else the reduced logo
    RectF picture;      // the message picture, window pixels
    RectF logo;         // the logo, in the corner or reduced, window pixels
};

// Returns the layout on a monitor that covers `monitor` of the window: the
// window's layout for a window of that size, moved onto the monitor.
MonitorErrorLayout LayoutOnMonitor(RectF monitor, SizeF picture, SizeF logo);

}  // namespace WorkSpace
