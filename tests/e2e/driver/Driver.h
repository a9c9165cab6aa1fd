#pragma once
// A small Windows-side driver for end-to-end scenarios: it starts Veltrano.scr
// as Windows would, and observes it from outside (windows, exit code, pixels),
// sending input as a user would.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/WindowText_win.h"

namespace e2e {

using WorkSpace::WindowText;

// Folder of the running test executable, ending in a backslash.
std::wstring BinDir();
// The freshly built saver beside the test executable.
std::wstring SaverPath();

// One started process; terminated on destruction if it is still running.
// Move-only: one owner ends it.
class Process {
public:
    Process() = default;
    Process(Process&& other) noexcept
        : process_(std::exchange(other.process_, nullptr)), id_(std::exchange(other.id_, 0)) {}
    Process& operator=(Process&& other) noexcept {
        if (this != &other) {
            Terminate();
            process_ = std::exchange(other.process_, nullptr);
            id_ = std::exchange(other.id_, 0);
        }
        return *this;
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    // Starts `exe` with `arguments` (the text after the program name) in `workDir`
    // (empty: the executable's folder). Returns false when it could not start.
    bool Start(const std::wstring& exe, const std::wstring& arguments,
               const std::wstring& workDir = L"");
    // The exit code once the process has ended within `timeoutMs`, else none.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs);
    bool IsRunning() const;
    DWORD Id() const { return id_; }
    void Terminate();
    ~Process();

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// Visible and hidden top-level windows of the process, and their children when
// `children` is true.
std::vector<HWND> WindowsOf(DWORD processId, bool children = false);
// The first window of the process with that class (and title, when given)
// within `timeoutMs`, else none.
HWND WaitForWindow(DWORD processId, const wchar_t* className, const wchar_t* title,
                   DWORD timeoutMs);
std::wstring ClassOf(HWND window);

// Input as a user gives it.
void PressKey(WORD virtualKey);
void ClickAt(int x, int y, DWORD downFlag = MOUSEEVENTF_LEFTDOWN,
             DWORD upFlag = MOUSEEVENTF_LEFTUP);
void MoveCursorTo(int x, int y);

// The screen as the user sees it, every monitor, 32-bit pixels 0x00RRGGBB, top
// row first; (0, 0) is the virtual screen's top-left corner.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};
Screenshot CaptureScreen();
// Writes a screenshot as a 24-bit BMP, for a person to look at.
bool SaveBitmap(const Screenshot& shot, const std::wstring& path);

// Pumps this thread's messages while waiting, so windows the test owns stay alive.
void PumpFor(DWORD milliseconds);

// Waits until `condition` holds, pumping messages; false after `timeoutMs`.
template <class Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        PumpFor(20);
    }
}

}  // namespace e2e
