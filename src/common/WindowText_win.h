#pragma once
// Reading the text of a window or dialog control.
#include <windows.h>

#include <algorithm>
#include <string>

namespace WorkSpace {

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

}  // namespace WorkSpace
