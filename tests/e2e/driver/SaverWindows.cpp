#include "e2e/driver/SaverWindows.h"


namespace e2e {
namespace {

WPARAM lastContextMenu = 0;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Recorded, not handled: the default handling would open a modal menu.
    if (message == WM_CONTEXTMENU) {
        lastContextMenu = wParam;
        return 0;
    }
    if (message == WM_HELP) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

WorkSpace::Testing::TestWindowLook HostLook(int clientWidth, int clientHeight) {
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    return {L"E2EHostWindow", HostProc, GRAY_BRUSH, 0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
            L"Display Properties", 50, 50, frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace

HostWindow::HostWindow(int clientWidth, int clientHeight)
    : window_(HostLook(clientWidth, clientHeight)) {
    lastContextMenu = 0;
    PumpFor(100);
}

HostWindow::~HostWindow() { Destroy(); }

void HostWindow::Destroy() {
    window_.Destroy();
    PumpFor(50);
}

WPARAM HostWindow::LastContextMenu() { return lastContextMenu; }

WhiteCover::WhiteCover()
    : window_({L"E2EWhiteCover", DefWindowProcW, WHITE_BRUSH, 0, WS_POPUP | WS_VISIBLE, 0, L"cover",
               0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}) {
    UpdateWindow(window_.Get());
    PumpFor(300);
}

WhiteCover::~WhiteCover() {
    window_.Destroy();
    PumpFor(50);
}

namespace {

struct ChildSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND WaitForChildOf(HWND parent, DWORD processId, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        ChildSearch search{processId, nullptr};
        EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        PumpFor(20);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

HWND StartFullScreenSaver(Process& process, const std::wstring& exe, const std::wstring& arguments,
                          int x, int y) {
    MoveCursorTo(x, y);
    PumpFor(100);
    if (!process.Start(exe, arguments)) return nullptr;
    HWND window = WaitForWindow(process.Id(), kSaverClass, L"Screen Saver", kSaverStartMs);
    // The window exists from the start of its creation; the saver is up once
    // creation has ended and it has been brought forward.
    if (window) WaitUntilForeground(window, kSaverStartMs);
    return window;
}

void MoveMouse(HWND saver, int x, int y) {
    MoveCursorTo(x, y);
    PostMessageW(saver, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    PumpFor(300);
}

bool WaitUntilForeground(HWND window, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!IsWindowVisible(window) || GetForegroundWindow() != window) {
        if (!IsWindow(window) || GetTickCount() - start >= timeoutMs) return false;
        PumpFor(20);
    }
    return true;
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start >= timeoutMs) return false;
        PumpFor(20);
    }
    return true;
}

std::wstring DisplayAdapterKey() {
    DISPLAY_DEVICEW device{};
    for (DWORD index = 0;; ++index) {
        device = DISPLAY_DEVICEW{};
        device.cb = sizeof(device);
        if (!EnumDisplayDevicesW(nullptr, index, &device, 0)) return L"";
        if (std::wstring(device.DeviceName) == L"\\\\.\\DISPLAY1") break;
    }
    std::wstring key = device.DeviceKey;
    const std::wstring prefix = L"\\Registry\\Machine\\";
    if (key.compare(0, prefix.size(), prefix) == 0) key.erase(0, prefix.size());
    return key;
}

SaverFolder::SaverFolder(bool withPackage) {
    CopyFileW(SaverPath().c_str(), Saver().c_str(), FALSE);
    if (!withPackage) return;
    // The build puts beside the saver what dist/ holds beside it.
    for (const wchar_t* name :
         {L"VeltResource.dat", L"default_1.jpg", L"default_2.jpg", L"default_3.jpg"}) {
        AddFromBin(name, name);
    }
}

bool SaverFolder::AddFromBin(const std::wstring& binName, const std::wstring& name) {
    return CopyFileW((BinDir() + binName).c_str(), folder_.File(name).c_str(), FALSE) != 0;
}

}  // namespace e2e
