#include "e2e/driver/PreviewDriver.h"

#include "config/DialogIds.h"

namespace e2e {

HWND PreviewOf(const ConfigSession& run) {
    for (HWND window : WindowsOf(run.ProcessId())) {
        // Only the configuration dialog has the picture list.
        if (window != run.Dialog() && ClassOf(window) == L"#32770" && IsWindowVisible(window) &&
            !GetDlgItem(window, IDC_PICTURE_LIST)) {
            return window;
        }
    }
    return nullptr;
}

HWND OpenPreview(const ConfigSession& run) {
    PostCommand(run.Dialog(), IDC_PREVIEW);
    HWND preview = nullptr;
    WaitUntil([&] { return (preview = PreviewOf(run)) != nullptr; }, 10000);
    if (preview) {
        SetForegroundWindow(preview);
        PumpFor(300);
    }
    return preview;
}

bool CursorShown() {
    CURSORINFO cursor{};
    cursor.cbSize = sizeof(cursor);
    return GetCursorInfo(&cursor) && (cursor.flags & CURSOR_SHOWING) != 0;
}

void GiveEndingInput(PreviewEnd end) {
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
    switch (end) {
    case PreviewEnd::LeftClick:
        ClickAt(x, y);
        break;
    case PreviewEnd::RightClick:
        ClickAt(x, y, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
        break;
    case PreviewEnd::Enter:
        PressKey(VK_RETURN);
        break;
    case PreviewEnd::Escape:
        PressKey(VK_ESCAPE);
        break;
    }
}

}  // namespace e2e
