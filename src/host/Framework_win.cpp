#include "host/Framework_win.h"

namespace WorkSpace {

FrameworkState& Framework() {
    static FrameworkState state;
    return state;
}

// The run modes below are completed by the saver host; until then they end at once.
int RunSaverWindow(HWND) { return 0; }


void ChangeSaverPassword(HWND) {}

}  // namespace WorkSpace
