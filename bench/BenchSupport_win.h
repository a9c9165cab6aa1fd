#pragma once
// What the benchmarks share: their arguments, a millisecond clock, medians, the picture
// folders, a process's working set, a window for the OpenGL context, bare GDI+
// decoding and the picture build with a chosen number of decoding threads.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <GL/gl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/Handles_win.h"
#include "resources/ImageServices_win.h"
#include "scene/PictureLoader_win.h"
#include "scene/SceneModel.h"
#include "scene/TextureList_win.h"

namespace bench {

// Returns the program's argument `index` (1 the first), empty when it has none.
inline std::wstring Argument(int index) {
    int count = 0;
    const WorkSpace::UniqueLocal arguments(CommandLineToArgvW(GetCommandLineW(), &count));
    if (!arguments || index < 1 || count <= index) return {};
    return static_cast<wchar_t**>(arguments.Get())[index];
}

inline double Now() {
    static LARGE_INTEGER frequency{};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// Returns the files of `folder` whose names end in `extension` ("jpg"), sorted.
inline std::vector<std::wstring> PicturesIn(const std::wstring& folder, const wchar_t* extension) {
    std::vector<std::wstring> paths;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*." + extension).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return paths;
    do {
        paths.push_back(folder + L"\\" + found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(paths.begin(), paths.end());
    return paths;
}

// The memory a process holds in RAM now and the most it has held so far, MB;
// -1 when unknown.
struct WorkingSet {
    double nowMb = -1;
    double peakMb = -1;
};

inline WorkingSet WorkingSetOf(DWORD processId) {
    WorkingSet set;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return set;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process, &counters, sizeof counters)) {
        set.nowMb = double(counters.WorkingSetSize) / (1024.0 * 1024.0);
        set.peakMb = double(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
    }
    CloseHandle(process);
    return set;
}

inline LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    return DefWindowProcW(window, message, w, l);
}

inline HWND MakeWindow(int width, int height) {
    WNDCLASSW windowClass{};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = BenchWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VeltranoBench";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"bench",
                                  WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    return window;
}

// Decoding alone: what GDI+ needs to read each picture, one after the other.
inline double BareDecode(const std::vector<std::wstring>& pictures) {
    const double start = Now();
    for (const std::wstring& path : pictures) {
        Gdiplus::GpBitmap* bitmap = nullptr;
        WorkSpace::Gdip::GdipCreateBitmapFromFile(path.c_str(), &bitmap);
        WorkSpace::UniqueImage image(bitmap);
        WorkSpace::ImageSize(image.Get());
    }
    return Now() - start;
}

// Returns the ms of making the pictures' textures as the scene build does,
// with `workers` decoding threads (0: one picture after the other).
inline double BuildTextures(const std::vector<std::wstring>& pictures, size_t workers) {
    using namespace WorkSpace;
    const double start = Now();
    TextureList& list = TheTextureList();
    list.Clear();
    LoadPictures(pictures, size_t(kMaxSlots), workers, [&list](size_t index, ImageHolder& holder) {
        return list.AddLoadedPicture(holder, int32_t(index)) >= 0;
    });
    glFinish();
    return Now() - start;
}

}  // namespace bench
