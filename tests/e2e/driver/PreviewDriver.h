#pragma once
// The configuration dialog's full-screen preview seen from outside: opening it
// with the Preview button, finding its window, and whether the cursor shows.
#include <windows.h>

#include "e2e/driver/ConfigSession.h"

namespace e2e {

// The visible preview window of the run, or none.
HWND PreviewOf(const ConfigSession& run);

// Pushes Preview and returns the preview once it shows and is in front, or none
// within ten seconds.
HWND OpenPreview(const ConfigSession& run);

bool CursorShown();

// The inputs that end a preview, given as a user gives them (a click in the
// middle of the screen).
enum class PreviewEnd { LeftClick, RightClick, Enter, Escape };
void GiveEndingInput(PreviewEnd end);

}  // namespace e2e
