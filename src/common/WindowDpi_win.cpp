#include "common/WindowDpi_win.h"

#include "common/DpiScale.h"
#include "common/Handles_win.h"
#include "common/SystemLibrary_win.h"

namespace WorkSpace {
namespace {

using WindowDpiFn = UINT(WINAPI*)(HWND);
using MonitorDpiFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI: what the user chose for the monitor

uint32_t MonitorDpi(HWND window) {
    const UniqueLibrary shcore = LoadSystemLibrary(L"shcore.dll");
    const auto monitorDpi = LookUp<MonitorDpiFn>(shcore.Get(), "GetDpiForMonitor");
    if (!monitorDpi) return 0;
    UINT x = 0, y = 0;
    const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
    return SUCCEEDED(monitorDpi(monitor, kEffectiveDpi, &x, &y)) ? x : 0;
}

}  // namespace

uint32_t DpiOfWindow(HWND window) {
    if (const auto windowDpi = LookUp<WindowDpiFn>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")) {
        if (const UINT dpi = windowDpi(window)) return dpi;
    }
    if (const uint32_t dpi = MonitorDpi(window)) return dpi;
    const WindowDC screen(window);
    const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : 0;
    return dpi > 0 ? uint32_t(dpi) : kDefaultDpi;
}

}  // namespace WorkSpace
