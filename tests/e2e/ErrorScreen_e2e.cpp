// The error screen as the user sees it on a machine the saver refuses: the
// message picture of the shipped package in the middle, the logo bottom-left,
// and a small Display Properties preview that keeps running in error mode.
#include <gtest/gtest.h>

#include "e2e/driver/Driver.h"
#include "e2e/driver/SaverWindows.h"

namespace {

bool IsBlack(uint32_t pixel) { return (pixel & 0xF0F0F0u) == 0; }

// Share of sampled pixels in the rectangle that are not black, 0..1.
double LitShare(const e2e::Screenshot& shot, RECT area) {
    int lit = 0;
    int total = 0;
    for (LONG y = area.top; y < area.bottom; y += 4) {
        for (LONG x = area.left; x < area.right; x += 4, ++total) lit += !IsBlack(shot.At(x, y));
    }
    return total ? double(lit) / total : 0.0;
}

// A recorded acceleration level under the adapter's key: the machine is unfit.
struct UnfitMachine {
    e2e::ScopedRegistryValue level{HKEY_LOCAL_MACHINE, e2e::DisplayAdapterKey(), L"Acceleration.Level", 0};
};

}  // namespace

TEST(ErrorScreen, UnfitMachineShowsTheMessagePictureAndTheLogo) {
    UnfitMachine unfit;
    e2e::SaverFolder folder(true);
    e2e::Process saver;
    HWND window = e2e::StartFullScreenSaver(saver, folder.Saver(), L"/s", 500, 400);
    ASSERT_TRUE(window);
    // The message picture fills the middle once the error screen is drawn.
    e2e::Screenshot shot;
    const auto middle = [&] {
        const int w = shot.width, h = shot.height;
        return LitShare(shot, {w / 2 - 100, h / 2 - 40, w / 2 + 100, h / 2 + 40});
    };
    EXPECT_TRUE(e2e::WaitUntil([&] { return shot = e2e::CaptureScreen(), middle() > 0.2; }, 10000));
    e2e::SaveBitmap(shot, e2e::BinDir() + L"e2e-error-screen.bmp");
    const int w = shot.width, h = shot.height;
    // The top corners stay black.
    EXPECT_EQ(LitShare(shot, {0, 0, 40, 40}), 0.0);
    EXPECT_EQ(LitShare(shot, {w - 40, 0, w, 40}), 0.0);
    // The logo sits in the bottom-left corner.
    EXPECT_GT(LitShare(shot, {0, h - 60, 160, h}), 0.05);
    e2e::PressKey(VK_ESCAPE);
    const auto code = saver.WaitForExit(e2e::kSaverExitMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
}

// Under Wine nothing a child window of another process draws reaches the
// screen, so the reduced logo's pixels are checked in the error screen's own
// tests; here the preview in error mode runs, keeps its size and ends with its host.
TEST(ErrorScreen, SmallPreviewInErrorModeRunsUntilItsHostCloses) {
    UnfitMachine unfit;
    e2e::SaverFolder folder(true);
    e2e::HostWindow host(152, 112);
    ASSERT_TRUE(host.Get());
    e2e::Process saver;
    const std::wstring handle = std::to_wstring(reinterpret_cast<uintptr_t>(host.Get()));
    ASSERT_TRUE(saver.Start(folder.Saver(), L"/p " + handle));
    HWND preview = e2e::WaitForChildOf(host.Get(), saver.Id(), e2e::kSaverStartMs);
    ASSERT_TRUE(preview);
    e2e::PumpFor(1500);
    EXPECT_TRUE(saver.IsRunning());
    RECT client{};
    GetClientRect(preview, &client);
    EXPECT_EQ(client.right, 152);
    EXPECT_EQ(client.bottom, 112);
    host.Destroy();
    const auto code = saver.WaitForExit(e2e::kSaverExitMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
}
