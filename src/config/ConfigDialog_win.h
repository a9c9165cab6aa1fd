#pragma once
// The configuration dialog (template 101): the picture list, the scheme box,
// Add, Remove, Remove All, Preview, OK and Cancel. The list box shows the
// first 21 paths of the settings' `pictures`, entry i being picture i.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "settings/TextIds.h"

namespace WorkSpace {

// Returns -1 after showing the configuration dialog from the templates of
// `instance`: the configuration run mode's exit code, after OK as after Cancel.
int ShowConfigDialog(HINSTANCE instance, HWND parent);

// Returns the configuration dialog's window: none until it first opens, and
// kept after it has ended.
HWND ConfigDialogWindow();

// Returns text `id` of the interface language.
std::wstring Text(Translate::TextId id);

// Returns the text of a window or dialog control (the end-to-end driver reads
// the saver's windows with it too). Only GetWindowTextW: for another process's
// window it reads the caption without sending a message, so a saver busy with
// its start-up never holds the caller up, as GetWindowTextLengthW would.
inline std::wstring WindowText(HWND window) {
    constexpr size_t kLongest = 32768;  // characters; no caption comes near it
    std::wstring text(256, L'\0');
    for (;;) {
        const size_t copied = size_t(std::max(GetWindowTextW(window, text.data(), int(text.size())), 0));
        if (copied + 1 < text.size() || text.size() >= kLongest) {
            text.resize(copied);
            return text;
        }
        text.resize(text.size() * 2);
    }
}

// Appends the paths that fit the settings file to `pictures` and shows them.
void AddPictures(HWND listBox, const std::vector<std::wstring>& paths);
// Removes the selected entry's picture; selects the entry above it, or the first.
void RemoveSelectedPicture(HWND listBox);
// Empties the list and `pictures`.
void RemoveAllPictures(HWND listBox);

}  // namespace WorkSpace
