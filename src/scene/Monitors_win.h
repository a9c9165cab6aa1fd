#pragma once
// The monitors a window covers, as the saver draws them: enumerated once, when
// the saver window is made, into the window's client pixels.
#include <windows.h>

#include <vector>

#include "scene/MonitorLayout.h"

namespace WorkSpace {

// Returns the parts of `window`'s client area that lie on each monitor, in the
// platform's order; the whole client area when the platform names none.
std::vector<MonitorRect> EnumerateMonitors(HWND window);

// Returns the monitors of the whole virtual screen, in its pixels from its
// top-left corner: those a full-screen saver window covers.
std::vector<MonitorRect> ScreenMonitors();

// Returns the monitors recorded for `window` when it is the attached window
// (SetMonitors), else its whole client area as one monitor.
std::vector<MonitorRect> MonitorsOf(HWND window);

}  // namespace WorkSpace
