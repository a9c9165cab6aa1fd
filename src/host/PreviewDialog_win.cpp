#include "host/PreviewDialog_win.h"

#include <cstdint>
#include <string>

#include "check/ErrorScreen_win.h"
#include "check/SystemCheck_win.h"
#include "config/ChosenScene_win.h"
#include "config/ConfigDialog_win.h"
#include "config/DialogIds.h"
#include "scene/FrameClock_win.h"
#include "host/FrameProbe.h"
#include "host/SaverState_win.h"
#include "scene/RenderContext_win.h"
#include "scene/SceneFrame_win.h"
#include "settings/Paths_win.h"

namespace WorkSpace {

namespace {

// The preview's own frame-rate probe; the saver window's is never touched.
struct PreviewState {
    bool previewProbeActive = true;
    int32_t previewProbeFrames = 0;  // probe ticks completed
    double previewProbeStart = 0.0;  // frame-clock seconds at the first probe tick
    bool hasContext = false;         // an OpenGL context draws this preview
};

PreviewState& Preview() {
    static PreviewState state;
    return state;
}

constexpr UINT_PTR kFrameTimer = 0;
constexpr UINT kFramePeriodMs = 1;

void CoverScreen(HWND dialog) {
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    SetWindowPos(dialog, HWND_TOP, 0, 0, desktop.right, desktop.bottom, 0);
}

BOOL OnInitDialog(HWND dialog) {
    SaverState& saver = Saver();
    saver.currentWindow = dialog;
    saver.errorMode = false;
    Preview() = PreviewState{};
    CoverScreen(dialog);
    ShowCursor(FALSE);
    SetFocus(dialog);
    PrepareErrorScreen(dialog);
    const std::wstring settingsPath = SettingsFilePath();
    if (!CheckSystem()) saver.errorMode = true;
    if (!AttachWindow(dialog)) {
        // Nothing can be drawn: the preview stays black until it is ended.
        saver.errorMode = true;
        return TRUE;
    }
    Preview().hasContext = true;
    BuildChosenScene(GetDlgItem(ConfigDialogWindow(), IDC_SCHEME_BOX), settingsPath);
    SetupProjection();
    if (!CheckSystem()) saver.errorMode = true;
    SetTimer(dialog, kFrameTimer, kFramePeriodMs, nullptr);
    return TRUE;
}

void OnTimer(HWND dialog) {
    PreviewState& preview = Preview();
    SaverState& saver = Saver();
    if (saver.errorMode) {
        if (!DrawErrorScreen()) FillWindowBlack(dialog);
        return;
    }
    if (!preview.previewProbeActive) {
        AnimateScene();
        RenderFrame(false);
        return;
    }
    if (preview.previewProbeFrames == 0) preview.previewProbeStart = FrameClock::Instance().Seconds();
    AnimateScene();
    RenderFrame(true);
    const ProbeVerdict verdict = JudgeProbeTick(kPreviewProbe, preview.previewProbeFrames,
                                                preview.previewProbeStart,
                                                FrameClock::Instance().Seconds());
    if (verdict == ProbeVerdict::Failed) saver.errorMode = true;
    if (verdict != ProbeVerdict::Continue) preview.previewProbeActive = false;
    ++preview.previewProbeFrames;
}

// Ends the preview on OK or Cancel (Enter, Escape) and on a click of the left
// or right button alone: a click's wParam holds the pressed keys and buttons,
// so Shift, Ctrl or another button held keeps the preview running.
BOOL OnEndingInput(HWND dialog, WPARAM wParam) {
    const WORD code = LOWORD(wParam);
    if (code != IDOK && code != IDCANCEL) return FALSE;
    KillTimer(dialog, kFrameTimer);
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

INT_PTR CALLBACK PreviewDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    try {
        switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog);
        case WM_TIMER:
            OnTimer(dialog);
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
