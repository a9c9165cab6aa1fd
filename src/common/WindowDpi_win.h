#pragma once
// The DPI of the monitor a window is shown on.
#include <windows.h>

#include <cstdint>

namespace WorkSpace {

// Returns the dots per inch of the monitor that shows `window`: the window's
// own where the system knows it (Windows 10), the monitor's (Windows 8.1), else
// the screen's (Vista and 7, where every monitor has the system's DPI); 96 when
// nothing answers.
uint32_t DpiOfWindow(HWND window);

}  // namespace WorkSpace
