#pragma once
// The configuration dialog's full-screen preview (template 102): the current,
// unsaved choice of pictures and scheme flies as the saver would show it,
// until a plain left or right click, Enter or Escape.
#include <windows.h>

#include <functional>
#include <string>

namespace WorkSpace {

// The dialog procedure of template 102.
INT_PTR CALLBACK PreviewDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs `build` (a scene build with the settings kept) over every picture of
// the settings' `pictures` (the default pictures when it is empty) under the
// scheme selected in schemeBox. The scheme is taken before the build, since it
// decides how many quads there are. `pictures` is left exactly as it was, so
// OK afterwards saves all of it.
void WithChosenScene(HWND schemeBox, const std::function<void()>& build);

// WithChosenScene with BuildScene, in one go.
void BuildChosenScene(HWND schemeBox, const std::wstring& settingsPath);

}  // namespace WorkSpace
