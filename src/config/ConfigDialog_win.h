#pragma once
// The configuration dialog (template 101): the picture list, the scheme box,
// Add, Remove, Remove All, Preview, OK and Cancel. The list box shows the
// first 21 paths of the settings' `pictures`, entry i being picture i.
#include <windows.h>

#include <string>
#include <vector>

namespace WorkSpace {

// Returns -1 after showing the configuration dialog from the templates of
// `instance`: the configuration run mode's exit code, after OK as after Cancel.
int ShowConfigDialog(HINSTANCE instance, HWND parent);

// Returns the configuration dialog's window: none until it first opens, and
// kept after it has ended.
HWND ConfigDialogWindow();

// Appends the paths that fit the settings file to `pictures` and shows them.
void AddPictures(HWND listBox, const std::vector<std::wstring>& paths);
// Removes the selected entry's picture; selects the entry above it, or the first.
void RemoveSelectedPicture(HWND listBox);
// Empties the list and `pictures`.
void RemoveAllPictures(HWND listBox);

}  // namespace WorkSpace
