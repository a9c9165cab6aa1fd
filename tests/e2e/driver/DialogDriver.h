#pragma once
// Driving the saver's dialogs from another process: reading controls, sending
// commands, dropping files and answering the platform's open-file dialog.
#include <windows.h>

#include <string>
#include <vector>

#include "e2e/driver/Driver.h"
#include "support/TestFolder_win.h"

namespace e2e {

// The entries of a list box of another process, in order.
std::vector<std::wstring> ListBoxEntries(HWND listBox);
// The texts of a combo box's list, in order.
std::vector<std::wstring> ComboBoxEntries(HWND comboBox);
// Selected position of a list or combo box, -1 when none.
int ListBoxSelection(HWND listBox);
int ComboBoxSelection(HWND comboBox);

// Posts the command of a dialog's button, as its click makes it; returns at
// once (the command may open a nested modal loop in the target).
void PostCommand(HWND dialog, int controlId);

// Drops `paths` onto `target` as the shell would: the drop block is written
// into the target process's memory and its address sent as the drop handle.
bool DropFiles(HWND target, const std::vector<std::wstring>& paths);

// Tells `dialog` that it has moved to a monitor of `dpi`, as the system does,
// with the rectangle the system suggests in screen pixels.
bool SendDpiChange(HWND dialog, UINT dpi, const RECT& suggested);

// Waits for the process's open-file dialog, goes to `folder` (when given) as
// a user typing it would, types `fileNames` into its name field (one name, or
// several as "a" "b" "c") and confirms. False when no dialog came or it did
// not close within `timeoutMs`.
bool AnswerOpenFileDialog(DWORD processId, const std::wstring& folder,
                          const std::wstring& fileNames, DWORD timeoutMs);
// The visible open-file dialog of the process, or none.
HWND FindOpenFileDialog(DWORD processId);

// A scratch folder of its own, deleted with everything in it at the end.
using ScratchFolder = WorkSpace::Testing::TestFolder;

// The whole content of a file, or none when it cannot be read.
bool ReadWholeFile(const std::wstring& path, std::string& bytes);

}  // namespace e2e
