#pragma once
// The configuration dialog's picture list box: while empty it shows a
// background picture in the user's language (or two hint texts), and a right
// click opens a menu with Add, Remove and Remove All.
#include <windows.h>

namespace WorkSpace {

// Puts the empty-list painting and the menu in front of the list box's own
// procedure, which keeps receiving every message.
void InstallPictureListBox(HWND listBox);

}  // namespace WorkSpace
