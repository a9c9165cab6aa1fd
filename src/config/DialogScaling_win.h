#pragma once
// A dialog that follows its window to a monitor of another DPI: it takes the
// rectangle the system suggests, and its controls and their font are scaled
// from where they were at the DPI the dialog opened with, so that moves back
// and forth never drift.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "common/DpiScale.h"
#include "common/Handles_win.h"

namespace WorkSpace {

class DialogScaling {
public:
    // Records the dialog's controls as laid out now, and takes the scaling on
    // a DPI change over from the dialog manager where the platform does it, so
    // that one path serves every Windows.
    void Record(HWND dialog);
    // Moves the dialog to `suggested` (screen pixels) and lays its controls out
    // at `dpi` with the template's font at that DPI. Returns false for DPI 0.
    bool Apply(HWND dialog, uint32_t dpi, const RECT& suggested);

private:
    struct Control {
        HWND window;
        RECT rect;  // in the dialog's client area at baseDpi_, pixels
    };
    uint32_t baseDpi_ = kDefaultDpi;
    LOGFONTW baseFont_{};
    bool hasFont_ = false;
    std::vector<Control> controls_;
    UniqueGdiObject font_;  // the controls' font since the last change; none before
};

}  // namespace WorkSpace
