#include "check/ErrorScreen_win.h"

#include <cstdint>
#include <vector>

#include "check/ErrorScreenLayout.h"
#include "common/DpiScale.h"
#include "common/Handles_win.h"
#include "common/WindowDpi_win.h"
#include "resources/ImageServices_win.h"
#include "resources/PackageMembers.h"
#include "resources/PictureDecoding_win.h"
#include "resources/ZipReader.h"
#include "scene/Monitors_win.h"
#include "settings/Paths_win.h"

namespace WorkSpace {
namespace {

constexpr uint32_t kOpaqueBlack = 0xFF000000u;  // ARGB

struct ErrorScreen {
    bool ready = false;
    UniqueGraphics windowGraphics;  // draws on the window being served
    UniqueImage backBuffer;         // the whole client area, off screen
    UniqueGraphics backGraphics;    // draws into backBuffer
    UniqueImage backgroundImage;    // the language's message picture
    UniqueImage logoImage;
    SizeF window;                   // client size at preparation, pixels
    std::vector<MonitorErrorLayout> monitors;  // one per monitor the window covers
};

ErrorScreen& Screen() {
    static ErrorScreen screen;
    return screen;
}

using Gdiplus::GpBitmap;
using Gdiplus::GpGraphics;
using Gdiplus::GpImage;
using Gdiplus::Ok;

// Returns the image's size on screen: its pixels are those of a 100 % display.
SizeF SizeOnScreen(GpImage* image, uint32_t dpi) {
    const SIZE size = ImageSize(image);
    return {float(ScaleForDpi(size.cx, dpi)), float(ScaleForDpi(size.cy, dpi))};
}

void DrawInto(GpGraphics* graphics, GpImage* image, const RectF& rect) {
    Gdip::GdipDrawImageRect(graphics, image, rect.x, rect.y, rect.w, rect.h);
}

// Returns the message picture of the interface language; English when the
// language is unknown or unreadable.
std::u16string_view ErrorPictureOfLanguage() { return ErrorPictureMember(InterfaceLanguage()); }

}  // namespace

bool PrepareErrorScreen(HWND window) {
    ReleaseErrorScreen();
    ErrorScreen& screen = Screen();
    RECT client{};
    GetClientRect(window, &client);
    screen.backgroundImage = LoadPackageImage(ErrorPictureOfLanguage(), ZipReader::Instance());
    if (!screen.backgroundImage) return false;
    screen.logoImage = LoadPackageImage(kLogoMember, ZipReader::Instance());
    if (!screen.logoImage) return false;
    screen.window = {float(client.right), float(client.bottom)};

    GpGraphics* windowGraphics = nullptr;
    if (Gdip::GdipCreateFromHWNDICM(window, &windowGraphics) != Ok) return false;
    screen.windowGraphics.Reset(windowGraphics);
    GpBitmap* backBuffer = nullptr;
    if (Gdip::GdipCreateBitmapFromGraphics(INT(screen.window.w), INT(screen.window.h), windowGraphics,
                                     &backBuffer) != Ok) {
        return false;
    }
    screen.backBuffer.Reset(backBuffer);
    GpGraphics* backGraphics = nullptr;
    if (Gdip::GdipGetImageGraphicsContext(backBuffer, &backGraphics) != Ok) return false;
    screen.backGraphics.Reset(backGraphics);

    // Each monitor shows the message in its middle and the logo in its
    // corner, at the window's DPI.
    const uint32_t dpi = DpiOfWindow(window);
    const SizeF picture = SizeOnScreen(screen.backgroundImage.Get(), dpi);
    const SizeF logo = SizeOnScreen(screen.logoImage.Get(), dpi);
    for (const MonitorRect& monitor : MonitorsOf(window)) {
        const RectF area{float(monitor.left), float(monitor.top), float(monitor.Width()),
                         float(monitor.Height())};
        screen.monitors.push_back(LayoutOnMonitor(area, picture, logo));
    }
    screen.ready = true;
    return true;
}

bool DrawErrorScreen() {
    ErrorScreen& screen = Screen();
    if (!screen.ready) return false;
    GpGraphics* back = screen.backGraphics.Get();
    Gdip::GdipGraphicsClear(back, kOpaqueBlack);
    for (const MonitorErrorLayout& monitor : screen.monitors) {
        if (monitor.full) DrawInto(back, screen.backgroundImage.Get(), monitor.picture);
        DrawInto(back, screen.logoImage.Get(), monitor.logo);
    }
    DrawInto(screen.windowGraphics.Get(), screen.backBuffer.Get(),
             {0.0f, 0.0f, screen.window.w, screen.window.h});
    return true;
}

void ReleaseErrorScreen() {
    ErrorScreen& screen = Screen();
    // The bitmap's graphics object goes before the bitmap it draws into.
    if (screen.backGraphics) Gdip::GdipFlush(screen.backGraphics.Get(), Gdiplus::FlushIntentionFlush);
    screen.backGraphics.Reset();
    screen.backBuffer.Reset();
    screen.backgroundImage.Reset();
    screen.logoImage.Reset();
    if (screen.windowGraphics) Gdip::GdipFlush(screen.windowGraphics.Get(), Gdiplus::FlushIntentionFlush);
    screen.windowGraphics.Reset();
    screen = ErrorScreen{};
}

void FillWindowBlack(HWND window) {
    WindowDC dc(window);
    if (!dc) return;
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc.Get(), &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

}  // namespace WorkSpace
