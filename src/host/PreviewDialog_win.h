#pragma once
// The configuration dialog's full-screen preview (template 102): the current,
// unsaved choice of pictures and scheme flies as the saver would show it,
// until a plain left or right click, Enter or Escape.
#include <windows.h>

namespace WorkSpace {

// The dialog procedure of template 102.
INT_PTR CALLBACK PreviewDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace WorkSpace
