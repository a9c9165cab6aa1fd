#pragma once
// Owners for the Win32 handles the saver opens itself. Never wrap a borrowed
// handle (GetModuleHandleW, dialog controls, GetDesktopWindow).
#include <windows.h>

#include <cstdio>
#include <utility>

#include "common/UniqueHandle.h"

namespace WorkSpace {

struct KeyTraits {
    using Handle = HKEY;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { RegCloseKey(h); }
};
using UniqueKey = UniqueHandle<KeyTraits>;

struct LibraryTraits {
    using Handle = HMODULE;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { FreeLibrary(h); }
};
using UniqueLibrary = UniqueHandle<LibraryTraits>;

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { CloseHandle(h); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static void Release(Handle h) { CloseHandle(h); }
};
using UniqueFile = UniqueHandle<FileHandleTraits>;

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static void Release(Handle h) { FindClose(h); }
};
using UniqueFind = UniqueHandle<FindHandleTraits>;

struct GlobalMemoryTraits {
    using Handle = HGLOBAL;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { GlobalFree(h); }
};
using UniqueGlobal = UniqueHandle<GlobalMemoryTraits>;

struct TaskMemoryTraits {
    using Handle = void*;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { CoTaskMemFree(h); }
};
using UniqueTaskMemory = UniqueHandle<TaskMemoryTraits>;

struct LocalMemoryTraits {
    using Handle = HLOCAL;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { LocalFree(h); }
};
using UniqueLocal = UniqueHandle<LocalMemoryTraits>;

struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { DeleteObject(h); }
};
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;

struct StdioFileTraits {
    using Handle = std::FILE*;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { std::fclose(h); }
};
using UniqueStdioFile = UniqueHandle<StdioFileTraits>;

// A window's device context: ReleaseDC needs the window as well.
class WindowDC {
public:
    WindowDC() = default;
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDC(WindowDC&& other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDC& operator=(WindowDC&& other) noexcept {
        if (this != &other) {
            Reset();
            window_ = other.window_;
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() { Reset(); }
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void Reset() {
        if (dc_) ReleaseDC(window_, dc_);
        dc_ = nullptr;
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

}  // namespace WorkSpace
