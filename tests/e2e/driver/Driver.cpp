#include "e2e/driver/Driver.h"

#include <cstdio>

namespace e2e {

std::wstring BinDir() {
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, DWORD(std::size(path)));
    std::wstring dir(path);
    return dir.substr(0, dir.find_last_of(L"\\/") + 1);
}

std::wstring SaverPath() { return BinDir() + L"Veltrano.scr"; }

bool Process::Start(const std::wstring& exe, const std::wstring& arguments,
                    const std::wstring& workDir) {
    Terminate();
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    const wchar_t* dir = workDir.empty() ? nullptr : workDir.c_str();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dir, &startup, &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
    return true;
}

std::optional<DWORD> Process::WaitForExit(DWORD timeoutMs) {
    if (!process_) return std::nullopt;
    const DWORD start = GetTickCount();
    for (;;) {
        if (WaitForSingleObject(process_, 10) == WAIT_OBJECT_0) break;
        if (GetTickCount() - start >= timeoutMs) return std::nullopt;
        PumpFor(0);
    }
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

bool Process::IsRunning() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void Process::Terminate() {
    if (!process_) return;
    if (IsRunning()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
    process_ = nullptr;
    id_ = 0;
}

Process::~Process() { Terminate(); }

namespace {

struct Collect {
    DWORD processId;
    bool children;
    std::vector<HWND>* out;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    reinterpret_cast<Collect*>(param)->out->push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
    auto* collect = reinterpret_cast<Collect*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == collect->processId) {
        collect->out->push_back(window);
        if (collect->children) EnumChildWindows(window, CollectChild, param);
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> WindowsOf(DWORD processId, bool children) {
    std::vector<HWND> windows;
    Collect collect{processId, children, &windows};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&collect));
    return windows;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

HWND WaitForWindow(DWORD processId, const wchar_t* className, const wchar_t* title,
                   DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        for (HWND window : WindowsOf(processId, true)) {
            if (className && ClassOf(window) != className) continue;
            if (title && WindowText(window) != title) continue;
            return window;
        }
        PumpFor(20);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

void PressKey(WORD virtualKey) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = virtualKey;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

void MoveCursorTo(int x, int y) {
    // Wine moves the X pointer only when its own record of the position
    // changes, and the installer scenarios' Wine, another server on the same
    // display, moves the pointer without that record knowing. Reading the
    // position first brings the record up to date with the pointer.
    POINT now{};
    GetCursorPos(&now);
    SetCursorPos(x, y);
}

void ClickAt(int x, int y, DWORD downFlag, DWORD upFlag) {
    MoveCursorTo(x, y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = downFlag;
    inputs[1].mi.dwFlags = upFlag;
    SendInput(2, inputs, sizeof(INPUT));
}

Screenshot CaptureScreen() {
    Screenshot shot;
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    shot.width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    shot.height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, shot.width, shot.height, screen, left, top, SRCCOPY);
        GdiFlush();
        const auto* source = static_cast<const uint32_t*>(bits);
        shot.pixels.assign(source, source + size_t(shot.width) * size_t(shot.height));
        for (uint32_t& p : shot.pixels) p &= 0x00FFFFFFu;
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

bool SaveBitmap(const Screenshot& shot, const std::wstring& path) {
    const int stride = (shot.width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = shot.width;
    header.biHeight = shot.height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biSizeImage = DWORD(stride * shot.height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + header.biSizeImage;
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (!out) return false;
    fwrite(&file, sizeof(file), 1, out);
    fwrite(&header, sizeof(header), 1, out);
    std::vector<uint8_t> row(size_t(stride), 0);
    for (int y = shot.height - 1; y >= 0; --y) {
        for (int x = 0; x < shot.width; ++x) {
            const uint32_t p = shot.At(x, y);
            row[size_t(x) * 3 + 0] = uint8_t(p);
            row[size_t(x) * 3 + 1] = uint8_t(p >> 8);
            row[size_t(x) * 3 + 2] = uint8_t(p >> 16);
        }
        fwrite(row.data(), 1, row.size(), out);
    }
    return fclose(out) == 0;
}

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (milliseconds) Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

}  // namespace e2e
