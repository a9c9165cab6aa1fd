#include "scene/Monitors_win.h"

#include "scene/RenderContext_win.h"

namespace WorkSpace {
namespace {

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT area, LPARAM list) {
    auto& monitors = *reinterpret_cast<std::vector<MonitorRect>*>(list);
    try {
        monitors.push_back({area->left, area->top, area->right, area->bottom});
    } catch (...) {
        return FALSE;  // no memory: the monitors found so far
    }
    return TRUE;
}

// Returns the monitors' parts of the area of the virtual screen at `origin`,
// `width` x `height` pixels, in pixels from the area's top-left corner.
std::vector<MonitorRect> MonitorsOfArea(POINT origin, int32_t width, int32_t height) {
    RECT area{origin.x, origin.y, origin.x + width, origin.y + height};
    std::vector<MonitorRect> monitors;
    EnumDisplayMonitors(nullptr, &area, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return MonitorsInClient(monitors, origin.x, origin.y, width, height);
}

}  // namespace

std::vector<MonitorRect> EnumerateMonitors(HWND window) {
    const RECT client = ClientRectOf(window);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return MonitorsOfArea(origin, client.right, client.bottom);
}

std::vector<MonitorRect> ScreenMonitors() {
    const POINT origin{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN)};
    return MonitorsOfArea(origin, GetSystemMetrics(SM_CXVIRTUALSCREEN),
                          GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

std::vector<MonitorRect> MonitorsOf(HWND window) {
    const RenderContext& context = TheRenderContext();
    if (window && window == context.attachedWindow && !context.monitors.empty()) {
        return context.monitors;
    }
    const RECT client = ClientRectOf(window);
    return {{client.left, client.top, client.right, client.bottom}};
}

}  // namespace WorkSpace
