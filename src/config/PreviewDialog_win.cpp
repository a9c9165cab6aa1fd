#include "config/PreviewDialog_win.h"

#include <cstdint>
#include <functional>
#include <vector>

#include "check/ErrorScreen_win.h"
#include "check/FrameTicker_win.h"
#include "check/SystemCheck_win.h"
#include "config/ConfigDialog_win.h"
#include "config/DialogIds.h"
#include "scene/RenderContext_win.h"
#include "scene/SceneBuild_win.h"
#include "scene/SceneModel.h"
#include "settings/Paths_win.h"
#include "settings/PictureSettings_win.h"

namespace WorkSpace {

namespace {

// The preview's own frame loop and probe; the saver window's is never touched.
struct PreviewState {
    FrameTicker ticker{kPreviewProbe};
    bool hasContext = false;  // an OpenGL context draws this preview
};

PreviewState& Preview() {
    static PreviewState state;
    return state;
}

constexpr UINT_PTR kFrameTimer = 0;
constexpr UINT kFramePeriodMs = 1;

// The preview covers the monitor that shows the configuration dialog and
// draws one scene there; the other monitors keep what they show.
void CoverScreen(HWND dialog) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    const HMONITOR handle = MonitorFromWindow(ConfigDialogWindow(), MONITOR_DEFAULTTOPRIMARY);
    if (!GetMonitorInfoW(handle, &monitor)) {
        GetWindowRect(GetDesktopWindow(), &monitor.rcMonitor);
    }
    const RECT& area = monitor.rcMonitor;
    SetWindowPos(dialog, HWND_TOP, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, 0);
}

BOOL OnInitDialog(HWND dialog) {
    PreviewState& preview = Preview();
    preview.hasContext = false;
    FrameTicker& ticker = preview.ticker;
    ticker.Restart(dialog);
    CoverScreen(dialog);
    ShowCursor(FALSE);
    SetFocus(dialog);
    PrepareErrorScreen(dialog);
    const std::wstring settingsPath = SettingsFilePath();
    if (!CheckSystem()) ticker.EnterErrorMode();
    if (!AttachWindow(dialog)) {
        // Nothing can be drawn: the preview stays black until it is ended.
        ticker.EnterErrorMode();
        return TRUE;
    }
    preview.hasContext = true;
    // The preview covers the screen black at once and answers input while its
    // scene is built.
    WithChosenScene(GetDlgItem(ConfigDialogWindow(), IDC_SCHEME_BOX), [&] {
        ticker.StartBuild(settingsPath, true, [] {
            SetupProjection();
            if (!CheckSystem()) Preview().ticker.EnterErrorMode();
        });
    });
    SetTimer(dialog, kFrameTimer, kFramePeriodMs, nullptr);
    return TRUE;
}

// Ends the preview on OK or Cancel (Enter, Escape) and on a click of the left
// or right button alone: a click's wParam holds the pressed keys and buttons,
// so Shift, Ctrl or another button held keeps the preview running.
BOOL OnEndingInput(HWND dialog, WPARAM wParam) {
    const WORD code = LOWORD(wParam);
    if (code != IDOK && code != IDCANCEL) return FALSE;
    KillTimer(dialog, kFrameTimer);
    Preview().ticker.AbandonBuild();
    DestroyGlContext();
    ShowCursor(TRUE);
    EndDialog(dialog, code);
    return TRUE;
}

void OnPaint(HWND dialog) {
    PAINTSTRUCT paint{};
    BeginPaint(dialog, &paint);
    EndPaint(dialog, &paint);
    FillWindowBlack(dialog);
}

}  // namespace

void WithChosenScene(HWND schemeBox, const std::function<void()>& build) {
    PictureSettings& settings = Settings();
    struct Restore {
        std::vector<std::wstring>& pictures;
        std::vector<std::wstring> chosen;
        ~Restore() { pictures.swap(chosen); }
    } restore{settings.pictures, settings.pictures};
    if (settings.pictures.empty()) settings.AddDefaultPictures();
    TheScene().scheme = int32_t(SendMessageW(schemeBox, CB_GETCURSEL, 0, 0));
    build();
}

void BuildChosenScene(HWND schemeBox, const std::wstring& settingsPath) {
    WithChosenScene(schemeBox, [&settingsPath] { BuildScene(settingsPath, true); });
}

INT_PTR CALLBACK PreviewDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    try {
        switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog);
        case WM_TIMER:
            Preview().ticker.Tick();
            return FALSE;
        case WM_COMMAND:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            return OnEndingInput(dialog, wParam);
        case WM_PAINT:
            // Frames cover the window; without a context it is kept black.
            if (Preview().hasContext) return FALSE;
            OnPaint(dialog);
            return TRUE;
        case WM_ERASEBKGND:
            return TRUE;
        default:
            return FALSE;
        }
    } catch (...) {
        // Out of memory while building the scene: the preview shows what it has.
        return FALSE;
    }
}

}  // namespace WorkSpace
