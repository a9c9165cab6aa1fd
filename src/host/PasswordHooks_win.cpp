// The Windows 9x family's screen-saver password services: the verifier in the
// password control-panel library, and the change-password dialog of MPR.DLL.
// Other platforms have neither, and the framework never loads them there.
#include "common/Handles_win.h"
#include "common/SystemLibrary_win.h"
#include "host/Framework_win.h"

namespace WorkSpace {
namespace {

using ChangePasswordFn = DWORD(WINAPI*)(LPCWSTR, HWND, DWORD, LPVOID);

constexpr UINT kScreenSaverRunning = 97;  // SystemParametersInfo action

void SetSaverRunning(bool running) {
    BOOL previous = FALSE;
    SystemParametersInfoW(kScreenSaverRunning, running ? TRUE : FALSE, &previous, 0);
}

}  // namespace

void LoadPasswordVerifier() {
    FrameworkState& state = Framework();
    if (!state.onWindows9x) return;
    if (state.passwordLibrary) UnloadPasswordVerifier();
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &opened) !=
        ERROR_SUCCESS) {
        return;  // no setting: the saver runs without a password
    }
    UniqueKey key(opened);
    uint32_t usePassword = 0;
    DWORD size = sizeof(usePassword);
    if (RegQueryValueExW(key.Get(), L"ScreenSaveUsePassword", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(&usePassword), &size) != ERROR_SUCCESS ||
        usePassword == 0) {
        return;
    }
    state.passwordLibrary.Reset(LoadLibraryW(L"PASSWORD.CPL"));
    if (!state.passwordLibrary) return;
    state.verifyPassword = LookUp<VerifyPasswordFn>(state.passwordLibrary.Get(), "VerifyScreenSavePwd");
    if (state.verifyPassword) {
        SetSaverRunning(true);
    } else {
        UnloadPasswordVerifier();
    }
}

void UnloadPasswordVerifier() {
    FrameworkState& state = Framework();
    if (!state.onWindows9x) return;
    state.passwordLibrary.Reset();
    if (state.verifyPassword) {
        state.verifyPassword = nullptr;
        SetSaverRunning(false);
    }
}

void ChangeSaverPassword(HWND window) {
    UniqueLibrary library(LoadLibraryW(L"MPR.DLL"));
    if (!library) return;
    if (auto change = LookUp<ChangePasswordFn>(library.Get(), "PwdChangePasswordW")) {
        change(L"SCRSAVE", window, 0, nullptr);
    }
}

}  // namespace WorkSpace
