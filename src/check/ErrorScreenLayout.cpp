#include "check/ErrorScreenLayout.h"

namespace WorkSpace {

bool ShowsFullErrorScreen(SizeF window) {
    return window.w >= kFullLayoutMinWidth && window.h >= kFullLayoutMinHeight;
}

RectF CentredPictureRect(SizeF window, SizeF picture) {
    // A picture larger than the window gets negative offsets: cut off on all sides.
    return {(window.w - picture.w) / 2.0f, (window.h - picture.h) / 2.0f, picture.w, picture.h};
}

RectF CornerLogoRect(SizeF window, SizeF logo) { return {0.0f, window.h - logo.h, logo.w, logo.h}; }

RectF ReducedLogoRect(SizeF window, SizeF logo) {
    // The reduced logo sits a little right of the middle, at 1/1.8 of its size.
    constexpr float kOffsetDivisor = 3.2f;
    constexpr float kShrink = 1.8f;
    constexpr float kRightShift = 17.0f;  // pixels
    return {window.w / 2.0f - logo.w / kOffsetDivisor + kRightShift,
            window.h / 2.0f - logo.h / kOffsetDivisor, logo.w / kShrink, logo.h / kShrink};
}

MonitorErrorLayout LayoutOnMonitor(RectF monitor, SizeF picture, SizeF logo) {
    const SizeF size{monitor.w, monitor.h};
    const auto onMonitor = [&monitor](RectF rect) {
        return RectF{monitor.x + rect.x, monitor.y + rect.y, rect.w, rect.h};
    };
    MonitorErrorLayout layout;
    layout.full = ShowsFullErrorScreen(size);
    layout.picture = onMonitor(CentredPictureRect(size, picture));
    layout.logo = onMonitor(layout.full ? CornerLogoRect(size, logo) : ReducedLogoRect(size, logo));
    return layout;
}

}  // namespace WorkSpace
