#pragma once
// A top-level window with the saver's OpenGL context for the scene tests, and
// read-back of what the last frame showed.
#include <windows.h>
#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "scene/RenderContext_win.h"
#include "support/TestWindow_win.h"

namespace glwindow {

// Owns a visible popup window of a given client size at the screen's top-left
// corner, attached to the process's OpenGL context.
class GlWindow {
public:
    GlWindow(int width, int height)
        : window_({L"VeltranoSceneTest", DefWindowProcW, -1, CS_OWNDC, WS_POPUP | WS_VISIBLE,
                   WS_EX_TOPMOST, L"scene test", 0, 0, width, height}) {
        Pump();
    }
    GlWindow(const GlWindow&) = delete;
    GlWindow& operator=(const GlWindow&) = delete;
    ~GlWindow() {
        WorkSpace::DestroyGlContext();
        window_.Destroy();
        Pump();
    }
    HWND Get() const { return window_.Get(); }
    static void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }

private:
    WorkSpace::Testing::TestWindow window_;
};

// The shown frame (the front buffer), 0xRRGGBB per pixel, top row first.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

// Reads what the screen shows at the top-left corner, where the test window is:
// the presented frame as a user sees it.
inline Frame ReadShownFrame(int width, int height) {
    Frame frame;
    frame.width = width;
    frame.height = height;
    frame.pixels.resize(size_t(width) * height);
    glFinish();
    GlWindow::Pump();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const uint32_t* source = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < frame.pixels.size(); ++i) frame.pixels[i] = source[i] & 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return frame;
}

// Writes the frame as a 24-bit BMP into the folder named by the environment
// variable VELTRANO_SCREENSHOTS, when it is set, for a person to look at.
inline void SaveForReview(const Frame& frame, const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    if (!GetEnvironmentVariableW(L"VELTRANO_SCREENSHOTS", folder, MAX_PATH)) return;
    const std::wstring path = std::wstring(folder) + L"\\" + name;
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return;
    const int rowBytes = (frame.width * 3 + 3) & ~3;
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + DWORD(rowBytes) * frame.height;
    info.biSize = sizeof info;
    info.biWidth = frame.width;
    info.biHeight = frame.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    fwrite(&header, sizeof header, 1, file);
    fwrite(&info, sizeof info, 1, file);
    std::vector<uint8_t> row(size_t(rowBytes), 0);
    for (int y = frame.height - 1; y >= 0; --y) {
        for (int x = 0; x < frame.width; ++x) {
            const uint32_t c = frame.At(x, y);
            row[size_t(x) * 3] = uint8_t(c);
            row[size_t(x) * 3 + 1] = uint8_t(c >> 8);
            row[size_t(x) * 3 + 2] = uint8_t(c >> 16);
        }
        fwrite(row.data(), row.size(), 1, file);
    }
    fclose(file);
}

}  // namespace glwindow
