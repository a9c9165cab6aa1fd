#pragma once
// The screen-saver framework: the saver window class and window, its message
// loop, the rules that close the saver on input and power events, and the
// Windows 9x family's password hooks.
#include <windows.h>

#include <cstdint>

namespace WorkSpace {

using VerifyPasswordFn = BOOL(WINAPI*)(HWND);
using ImmAssociateContextFn = HANDLE(WINAPI*)(HWND, HANDLE);

struct FrameworkState {
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    bool isPreview = false;
    bool isClosing = false;           // closing granted: input and timer no longer passed on
    bool isCheckingPassword = false;  // the password verifier is running
    HMODULE passwordLibrary = nullptr;
    VerifyPasswordFn verifyPassword = nullptr;
    UINT autoPlayMessage = 0;         // "QueryCancelAutoPlay", Windows 9x family only
    HMODULE imeLibrary = nullptr;
    ImmAssociateContextFn imeAssociate = nullptr;
    HANDLE savedImeContext = nullptr;
    bool onWindows9x = false;
    uint32_t mouseThreshold = 4;      // pixels of travel (|dx| + |dy|) that close the saver
    uint8_t lastPowerLineStatus = 255;  // 255: no status seen
    uint32_t lastPasswordCheck = 0xFFFFFFFFu;  // tick count, all bits set: never
    POINT mouseAnchor{0, 0};          // screen pixels
};

// Returns the process's one framework state.
FrameworkState& Framework();

// Returns the exit code after creating the saver window (a child of `parent`,
// or full screen when `parent` is none) and running the message loop.
int RunSaverWindow(HWND parent);

// Returns -1: the configuration run mode's exit code, after OK as after Cancel.
int ShowConfigDialog(HWND parent);

// Opens the platform's change-password dialog for screen savers, when it has one.
void ChangeSaverPassword(HWND window);

}  // namespace WorkSpace
