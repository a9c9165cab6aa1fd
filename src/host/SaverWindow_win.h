#pragma once
#include <windows.h>

namespace WorkSpace {

// The saver's own window procedure, called by FrameworkWindowProc: start-up on
// WM_CREATE, one frame per WM_TIMER, release on WM_DESTROY; every other message
// goes to DefaultSaverProc.
LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace WorkSpace
