#pragma once
// Driver abilities for the saver's own windows: a host window for the preview
// switches (as the Display Properties page gives one), a white cover that shows
// whether the saver hides what lies beneath it, registry values set for one
// scenario, and a private copy of the saver in a folder of its own.
#include <windows.h>

#include <string>

#include "e2e/driver/Driver.h"
#include "support/RegistryValue_win.h"
#include "support/TestFolder_win.h"
#include "support/TestWindow_win.h"

namespace e2e {

inline constexpr wchar_t kSaverClass[] = L"WindowsScreenSaverClass";
inline constexpr DWORD kSaverStartMs = 20000;  // start-up loads pictures and makes an OpenGL context
inline constexpr DWORD kSaverExitMs = 15000;   // a process that used OpenGL takes seconds to end

// Starts `exe` with `arguments` with the cursor at (x, y) and returns its
// full-screen window once the saver is up and in front, or none.
HWND StartFullScreenSaver(Process& process, const std::wstring& exe, const std::wstring& arguments,
                          int x, int y);

// Moves the cursor and lets the saver see it, as a real mouse would.
void MoveMouse(HWND saver, int x, int y);

// A top-level window of this test process with the given client size, pumped by
// PumpFor. It records the last WM_CONTEXTMENU posted to it.
class HostWindow {
public:
    HostWindow(int clientWidth, int clientHeight);
    ~HostWindow();
    HWND Get() const { return window_.Get(); }
    // Destroys the window now (its children with it).
    void Destroy();
    // wParam of the last WM_CONTEXTMENU received, 0 when none.
    static WPARAM LastContextMenu();

private:
    WorkSpace::Testing::TestWindow window_;
};

// A white window over the whole screen, shown below whatever is topmost.
class WhiteCover {
public:
    WhiteCover();
    ~WhiteCover();

private:
    WorkSpace::Testing::TestWindow window_;
};

// The first child of `parent` that belongs to the process, within `timeoutMs`.
HWND WaitForChildOf(HWND parent, DWORD processId, DWORD timeoutMs);

// Returns true once `window` is visible and the foreground window, within `timeoutMs`.
bool WaitUntilForeground(HWND window, DWORD timeoutMs);

// Returns true once `window` no longer exists, within `timeoutMs`.
bool WaitUntilGone(HWND window, DWORD timeoutMs);

using WorkSpace::Testing::ScopedRegistryValue;

// The registry key of the display adapter "\\.\DISPLAY1", below HKEY_LOCAL_MACHINE.
std::wstring DisplayAdapterKey();

// A fresh folder in the temporary folder holding a copy of Veltrano.scr and,
// when `withPackage`, the files that lie beside it in dist/. Deleted on destruction.
class SaverFolder {
public:
    explicit SaverFolder(bool withPackage);
    const std::wstring& Path() const { return folder_.Path(); }  // ends in a backslash
    std::wstring Saver() const { return folder_.File(L"Veltrano.scr"); }
    // Copies a file of the build's bin folder into this folder under `name`.
    bool AddFromBin(const std::wstring& binName, const std::wstring& name);

private:
    WorkSpace::Testing::TestFolder folder_{L"e2e"};
};

}  // namespace e2e
