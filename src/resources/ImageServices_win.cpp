#include "resources/ImageServices_win.h"

namespace WorkSpace {
namespace {

struct ImageServicesState {
    bool running = false;
    ULONG_PTR token = 0;
};

ImageServicesState& State() {
    static ImageServicesState state;
    return state;
}

}  // namespace

bool StartImageServices() {
    ImageServicesState& state = State();
    if (state.running) return true;
    Gdiplus::GdiplusStartupInput input;  // version 1, no callback, nothing suppressed
    state.running = Gdiplus::GdiplusStartup(&state.token, &input, nullptr) == Gdiplus::Ok;
    return state.running;
}

void ShutdownImageServices() {
    ImageServicesState& state = State();
    if (!state.running) return;
    Gdiplus::GdiplusShutdown(state.token);
    state.running = false;
    state.token = 0;
}

SIZE ImageSize(Gdiplus::GpImage* image) {
    UINT width = 0;
    UINT height = 0;
    if (!image || Gdip::GdipGetImageWidth(image, &width) != Gdiplus::Ok ||
        Gdip::GdipGetImageHeight(image, &height) != Gdiplus::Ok) {
        return SIZE{0, 0};
    }
    return SIZE{LONG(width), LONG(height)};
}

}  // namespace WorkSpace
