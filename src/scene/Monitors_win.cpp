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

}  // namespace

std::vector<MonitorRect> EnumerateMonitors(HWND window) {
    const RECT client = ClientRectOf(window);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    RECT area{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    std::vector<MonitorRect> monitors;
    EnumDisplayMonitors(nullptr, &area, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return MonitorsInClient(monitors, origin.x, origin.y, client.right, client.bottom);
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
