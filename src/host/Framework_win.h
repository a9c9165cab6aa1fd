#pragma once
// The screen-saver framework: the saver window class and window, its message
// loop, the rules that close the saver on input and power events, and the
// Windows 9x family's password hooks.
#include <windows.h>

#include <cstdint>

#include "common/Handles_win.h"
#include "host/CloseRules.h"

namespace WorkSpace {

using VerifyPasswordFn = BOOL(WINAPI*)(HWND);
using ImmAssociateContextFn = HANDLE(WINAPI*)(HWND, HANDLE);

// Sent to the saver window to run the password verifier; answered by DefaultSaverProc.
inline constexpr UINT kVerifyPasswordMessage = 0x8000;

struct FrameworkState {
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    bool isPreview = false;
    bool isClosing = false;           // closing granted: input and timer no longer passed on
    bool isCheckingPassword = false;  // the password verifier is running
    UniqueLibrary passwordLibrary;
    VerifyPasswordFn verifyPassword = nullptr;
    UINT autoPlayMessage = 0;         // "QueryCancelAutoPlay", Windows 9x family only
    HMODULE imeLibrary = nullptr;     // borrowed: only taken when the process already has it
    ImmAssociateContextFn imeAssociate = nullptr;
    HANDLE savedImeContext = nullptr;
    bool onWindows9x = false;
    uint32_t mouseThreshold = kMouseTravelThreshold;  // pixels of travel (|dx| + |dy|) that close the saver
    uint8_t lastPowerLineStatus = kNoLineStatus;
    uint32_t lastPasswordCheck = kNoPasswordCheck;    // tick count, ms
    POINT mouseAnchor{0, 0};          // screen pixels
};

// Returns the process's one framework state.
FrameworkState& Framework();

// Returns the exit code after creating the saver window (a child of `parent`,
// or full screen when `parent` is none) and running the message loop.
int RunSaverWindow(HWND parent);

// Window procedure of the saver window class: the framework's own handling,
// then SaverWindowProc.
LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The saver's own window procedure, called by FrameworkWindowProc: start-up on
// WM_CREATE, one frame per WM_TIMER, release on WM_DESTROY; every other message
// goes to DefaultSaverProc.
LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Returns the result of the framework's default handling of a message that
// SaverWindowProc does not handle: the close rules, then DefWindowProcW.
LRESULT DefaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Returns whether the saver may close: no verifier loaded, or the password given.
bool VerifySaverPassword(HWND window);

// The Windows 9x family's password hooks; they do nothing elsewhere.
void LoadPasswordVerifier();
void UnloadPasswordVerifier();

// Opens the platform's change-password dialog for screen savers, when it has one.
void ChangeSaverPassword(HWND window);

}  // namespace WorkSpace
