#include "scene/MonitorLayout.h"

#include <algorithm>

namespace WorkSpace {

std::vector<MonitorRect> MonitorsInClient(const std::vector<MonitorRect>& monitors,
                                          int32_t originX, int32_t originY, int32_t width,
                                          int32_t height) {
    std::vector<MonitorRect> parts;
    for (const MonitorRect& monitor : monitors) {
        const MonitorRect part{std::max(monitor.left - originX, 0),
                               std::max(monitor.top - originY, 0),
                               std::min(monitor.right - originX, width),
                               std::min(monitor.bottom - originY, height)};
        if (part.Width() > 0 && part.Height() > 0) parts.push_back(part);
    }
    if (parts.empty()) parts.push_back({0, 0, std::max(width, 0), std::max(height, 0)});
    return parts;
}

GlViewport ViewportOf(const MonitorRect& monitor, int32_t clientHeight) {
    return {monitor.left, clientHeight - monitor.bottom, monitor.Width(), monitor.Height()};
}

}  // namespace WorkSpace
