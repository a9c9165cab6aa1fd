#include "host/SaverMain_win.h"

#include <commctrl.h>

#include "check/ErrorScreen_win.h"
#include "common/WideText_win.h"
#include "config/ConfigDialog_win.h"
#include "host/Framework_win.h"
#include "host/Switches.h"
#include "resources/ImageServices_win.h"
#include "resources/ZipReader.h"
#include "scene/PictureLoader_win.h"
#include "scene/RenderContext_win.h"
#include "scene/TextureList_win.h"
#include "settings/Paths_win.h"

namespace WorkSpace {
namespace {

// Returns the window named on the command line when it exists, else none.
HWND ExistingWindow(uint32_t handle) {
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(handle));
    return (handle != 0 && IsWindow(window)) ? window : nullptr;
}

bool IsWindows9x() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);  // 276 bytes
    return GetVersionExW(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

}  // namespace

int SaverMain(HINSTANCE instance, std::wstring_view arguments) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    FrameworkState& state = Framework();
    state.instance = instance;
    state.onWindows9x = IsWindows9x();
    // The settings path is fixed now, before any dialog can change the current folder.
    SettingsFilePath();

    const SwitchChoice choice = ParseSwitches(AsU16(arguments));
    switch (choice.mode) {
    case RunMode::Save:
        return RunSaverWindow(nullptr);
    case RunMode::ConfigureAlone:
        return ShowConfigDialog(instance, nullptr);
    case RunMode::Configure: {
        HWND parent = ExistingWindow(choice.windowHandle);
        return ShowConfigDialog(instance, parent ? parent : GetForegroundWindow());
    }
    case RunMode::Preview: {
        HWND parent = ExistingWindow(choice.windowHandle);
        return parent ? RunSaverWindow(parent) : -1;
    }
    case RunMode::ChangePassword: {
        if (!state.onWindows9x) return -1;
        HWND parent = ExistingWindow(choice.windowHandle);
        ChangeSaverPassword(parent ? parent : GetForegroundWindow());
        return 0;
    }
    case RunMode::Invalid:
        break;
    }
    return -1;
}

void ReleaseProcessState() {
    // Each subsystem adds its release call here as it comes to own process state.
    DestroyGlContext();
    ReleaseTextureList();
    ReleaseErrorScreen();
    ReleasePackageReader();
    ShutdownImageServices();
}

void EndProcess(int result) {
    if (DecodersRunning()) TerminateProcess(GetCurrentProcess(), UINT(result));
    // ExitProcess runs no C++ static destructors: release in the documented order first.
    ReleaseProcessState();
    ExitProcess(UINT(result));
}

}  // namespace WorkSpace
