#pragma once
// The error screen, shown instead of the scene when the machine is unfit: the
// message picture of the user's language centred on black with the logo in the
// bottom-left corner, or only a reduced logo in a small window. It is drawn with
// GDI+ through an off-screen bitmap, so the window never shows half a frame.
#include <windows.h>

namespace WorkSpace {

// Returns true when the error screen is ready to draw into `window` at the
// window's present size; it releases any earlier preparation first. Its
// pictures keep the size on screen they have at 100 %, at the window's DPI.
bool PrepareErrorScreen(HWND window);

// Returns true when it drew a frame of the error screen; false when it is not prepared.
bool DrawErrorScreen();

// Frees what the error screen holds and returns it to "not prepared".
void ReleaseErrorScreen();

// Fills the window's client area with black: what error mode shows when the
// error screen could not be prepared, so the desktop never shows through.
void FillWindowBlack(HWND window);

}  // namespace WorkSpace
