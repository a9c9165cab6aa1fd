#pragma once
// What the saver window and the preview dialog share while they draw.
#include <windows.h>

#include <cstdint>

namespace WorkSpace {

struct SaverState {
    HWND currentWindow = nullptr;  // the window being drawn: the saver window or the preview dialog
    bool errorMode = false;        // every tick draws the error screen; cleared only before a preview
    bool probeActive = true;       // the frame-rate probe has not decided yet
    int32_t probeFrames = 0;       // probe ticks completed
    double probeStart = 0.0;       // frame-clock seconds at the first probe tick
};

// Returns the process's one saver state.
SaverState& Saver();

}  // namespace WorkSpace
