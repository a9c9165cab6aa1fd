#include "host/Framework_win.h"

#include "common/SystemLibrary_win.h"
#include "host/CloseRules.h"

namespace WorkSpace {
namespace {

constexpr wchar_t kClassName[] = L"WindowsScreenSaverClass";
constexpr wchar_t kFullScreenTitle[] = L"Screen Saver";
constexpr wchar_t kPreviewTitle[] = L"Preview";
constexpr UINT kClassStyles = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;  // 0x2B
// The class names an icon the executable does not carry, so it has none.
constexpr WORD kClassIcon = 100;

void HideCursor() { SetCursor(nullptr); }

void PostClose(HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }

uint8_t ReadLineStatus() {
    SYSTEM_POWER_STATUS status{};
    return GetSystemPowerStatus(&status) ? status.ACLineStatus : kNoLineStatus;
}

struct WindowPlacement {
    int x = 0, y = 0, width = 0, height = 0;
};

// Returns the virtual screen's rectangle, or the screen's clip box when the
// platform reports no virtual screen.
WindowPlacement VirtualScreen() {
    WindowPlacement place{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                          GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    if (place.width == 0 || place.height == 0) {
        const WindowDC screen(nullptr);
        RECT clip{};
        GetClipBox(screen.Get(), &clip);
        place = {clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top};
    }
    return place;
}

// The framework's handling of one message; "pass on" is SaverWindowProc.
LRESULT HandleFrameworkMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FrameworkState& state = Framework();
    switch (message) {
    case WM_CREATE:
        // The input method is only taken over when the process already has it.
        state.imeLibrary = GetModuleHandleW(L"IMM32.DLL");
        if (state.imeLibrary) {
            state.imeAssociate = LookUp<ImmAssociateContextFn>(state.imeLibrary, "ImmAssociateContext");
            if (state.imeAssociate) state.savedImeContext = state.imeAssociate(window, nullptr);
        }
        GetCursorPos(&state.mouseAnchor);
        if (!state.isPreview) HideCursor();
        break;
    case WM_DESTROY:
        if (state.imeLibrary && state.imeAssociate && state.savedImeContext) {
            state.imeAssociate(window, state.savedImeContext);
        }
        PostQuitMessage(0);
        break;
    case WM_SETTEXT:
        return 0;  // the title never changes
    case WM_PAINT:
        if (state.isClosing) return DefWindowProcW(window, message, wParam, lParam);
        if (!state.isPreview) HideCursor();
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        if (state.isPreview) {
            HWND parent = GetParent(window);
            if (parent && IsWindow(parent)) {
                PostMessageW(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
            }
            return 1;
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (state.isClosing) return DefWindowProcW(window, message, wParam, lParam);
        break;
    case WM_SYSCOMMAND:
        if (!state.isPreview) {
            switch (ClassifySysCommand(uint32_t(wParam))) {
            case SysCommandAction::Swallow:
                return 0;
            case SysCommandAction::CloseAndPassOn:
                PostClose(window);
                break;
            case SysCommandAction::PassOn:
                break;
            }
        }
        break;
    case WM_TIMER:
        if (state.isClosing) return 0;
        Sleep(0);  // leave the rest of the time slice to other programs
        break;
    default:
        break;
    }
    return SaverWindowProc(window, message, wParam, lParam);
}

// The close rules of a full-screen saver; returns true with `result` when the
// message is answered here.
bool ApplyCloseRules(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    FrameworkState& state = Framework();
    if (message == WM_CLOSE) {
        if (state.onWindows9x && !VerifySaverPassword(window)) {
            // Refused: the saver stays and travel is measured from here.
            GetCursorPos(&state.mouseAnchor);
            result = 0;
            return true;
        }
        return false;
    }
    if (message == kVerifyPasswordMessage) {
        if (!state.onWindows9x) return false;
        result = state.verifyPassword ? state.verifyPassword(window) : 1;
        return true;
    }
    if (state.isCheckingPassword) return false;
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam) HideCursor();
        break;
    case WM_ACTIVATEAPP:
        if (!wParam) PostClose(window);
        break;
    case WM_SETCURSOR:
        HideCursor();
        result = 1;
        return true;
    case WM_POWER:
        if (PowerNotificationCloses(uint32_t(wParam))) PostClose(window);
        break;
    case WM_DISPLAYCHANGE:
        // The monitors were counted at the start: a scene per monitor no
        // longer fits them, so the saver ends, as an input would end it.
        PostClose(window);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        PostClose(window);
        break;
    case WM_MOUSEMOVE: {
        // The cursor itself, not the message's coordinates: a window appearing
        // under a still cursor also sends WM_MOUSEMOVE.
        POINT cursor{};
        if (GetCursorPos(&cursor) &&
            MouseTravelCloses(state.mouseAnchor.x, state.mouseAnchor.y, cursor.x, cursor.y,
                              state.mouseThreshold)) {
            PostClose(window);
            state.mouseAnchor = cursor;
        }
        break;
    }
    case WM_POWERBROADCAST: {
        const uint32_t event = uint32_t(wParam);
        const uint8_t line = event == kPowerStatusChange ? ReadLineStatus() : state.lastPowerLineStatus;
        if (PowerBroadcastCloses(event, uint32_t(lParam), line, state.lastPowerLineStatus)) {
            PostClose(window);
        }
        if (event == kPowerStatusChange) state.lastPowerLineStatus = line;
        break;
    }
    default:
        break;
    }
    return false;
}

}  // namespace

FrameworkState& Framework() {
    static FrameworkState state;
    return state;
}

int RunSaverWindow(HWND parent) {
    FrameworkState& state = Framework();
    WNDCLASSW windowClass{};
    windowClass.style = kClassStyles;
    windowClass.lpfnWndProc = FrameworkWindowProc;
    windowClass.hInstance = state.instance;
    windowClass.hIcon = LoadIconW(state.instance, MAKEINTRESOURCEW(kClassIcon));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;

    WindowPlacement place;
    DWORD style = 0;
    DWORD extendedStyle = 0;
    const wchar_t* title = nullptr;
    if (parent) {
        RECT client{};
        GetClientRect(parent, &client);
        place = {0, 0, client.right, client.bottom};
        style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
        title = kPreviewTitle;
        state.isPreview = true;
    } else {
        place = VirtualScreen();
        style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        extendedStyle = WS_EX_TOPMOST;
        title = kFullScreenTitle;
        // A second full-screen saver is never started: the running one comes forward.
        HWND running = FindWindowW(kClassName, kFullScreenTitle);
        if (running && IsWindow(running)) {
            SetForegroundWindow(running);
            return 0;
        }
        state.lastPowerLineStatus = ReadLineStatus();
        LoadPasswordVerifier();
    }
    state.autoPlayMessage = state.onWindows9x ? RegisterWindowMessageW(L"QueryCancelAutoPlay") : 0;

    int result = 0;
    if (RegisterClassW(&windowClass)) {
        // Creation runs the saver's whole start-up (SaverWindowProc's WM_CREATE).
        state.mainWindow = CreateWindowExW(extendedStyle, kClassName, title, style, place.x, place.y,
                                           place.width, place.height, parent, nullptr,
                                           state.instance, nullptr);
    }
    if (state.mainWindow) {
        if (!state.isPreview) SetForegroundWindow(state.mainWindow);
        MSG message{};
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (message.message == WM_QUIT) result = int(message.wParam);
    }
    UnloadPasswordVerifier();
    return result;
}

LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return HandleFrameworkMessage(window, message, wParam, lParam);
    } catch (...) {
        // No exception may cross into the platform's message dispatch.
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT DefaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FrameworkState& state = Framework();
    if (!state.isPreview && !state.isClosing) {
        LRESULT result = 0;
        if (ApplyCloseRules(window, message, wParam, lParam, result)) return result;
    }
    if (state.autoPlayMessage != 0 && message == state.autoPlayMessage) {
        PostClose(window);
        return state.verifyPassword ? 1 : 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool VerifySaverPassword(HWND window) {
    FrameworkState& state = Framework();
    if (state.isCheckingPassword) return false;
    if (!state.verifyPassword) {
        state.isClosing = true;
        return true;
    }
    if (PasswordCheckDue(state.lastPasswordCheck, GetTickCount())) {
        state.isCheckingPassword = true;
        // Ticks queued meanwhile would draw over the password dialog.
        MSG pending;
        for (int i = 0; i < 2; ++i) {
            PeekMessageW(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
        }
        state.isClosing = SendMessageW(window, kVerifyPasswordMessage, 0, 0) != 0;
        state.isCheckingPassword = false;
        if (!state.isClosing) HideCursor();
        state.lastPasswordCheck = GetTickCount();
    }
    return state.isClosing;
}


}  // namespace WorkSpace
