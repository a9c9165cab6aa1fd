#pragma once
// A top-level window owned by a test or scenario, of a class registered once
// per process, destroyed at the end.
#include <windows.h>

namespace WorkSpace::Testing {

struct TestWindowLook {
    const wchar_t* className = L"VeltranoTestWindow";
    WNDPROC procedure = DefWindowProcW;
    int brush = -1;        // stock object for the background; -1: none
    UINT classStyle = 0;
    DWORD style = WS_POPUP;
    DWORD extendedStyle = 0;
    const wchar_t* title = L"";
    int x = 0, y = 0;      // screen pixels
    int width = 10, height = 10;
};

class TestWindow {
public:
    explicit TestWindow(const TestWindowLook& look) {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSW windowClass{};
        if (!GetClassInfoW(instance, look.className, &windowClass)) {
            windowClass.style = look.classStyle;
            windowClass.lpfnWndProc = look.procedure;
            windowClass.hInstance = instance;
            windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
            if (look.brush >= 0) windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(look.brush));
            windowClass.lpszClassName = look.className;
            RegisterClassW(&windowClass);
        }
        window_ = CreateWindowExW(look.extendedStyle, look.className, look.title, look.style, look.x,
                                  look.y, look.width, look.height, nullptr, nullptr, instance, nullptr);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow() { Destroy(); }

    HWND Get() const { return window_; }
    // Destroys the window now (its children with it).
    void Destroy() {
        if (window_ && IsWindow(window_)) DestroyWindow(window_);
        window_ = nullptr;
    }

private:
    HWND window_ = nullptr;
};

}  // namespace WorkSpace::Testing
