#pragma once
// The scene of the configuration dialog's preview: the user's current, unsaved
// choice of pictures and scheme.
#include <windows.h>

#include <string>

namespace WorkSpace {

// Builds the scene from every picture of `pictures` (the default pictures when
// it is empty) under the scheme selected in schemeBox. The scheme is taken
// before the build, since it decides how many quads there are. `pictures` is
// left exactly as it was, so OK afterwards saves all of it.
void BuildChosenScene(HWND schemeBox, const std::wstring& settingsPath);

}  // namespace WorkSpace
