// The frame loop as the user sees it: black while the frame-rate probe runs,
// the pictures once it has passed.
#include <gtest/gtest.h>

#include "e2e/driver/Driver.h"
#include "e2e/driver/SaverWindows.h"

namespace {

// A picture of one colour, written as a bitmap under the default pictures'
// names: the saver decodes pictures by their content.
void WritePicture(const std::wstring& path, uint32_t colour) {
    e2e::Screenshot picture;
    picture.width = 320;
    picture.height = 240;
    picture.pixels.assign(size_t(picture.width) * size_t(picture.height), colour);
    ASSERT_TRUE(e2e::SaveBitmap(picture, path));
}

// Share of sampled pixels that are not black, 0..1.
double LitShare(const e2e::Screenshot& shot) {
    int lit = 0;
    int total = 0;
    for (int y = 0; y < shot.height; y += 8) {
        for (int x = 0; x < shot.width; x += 8, ++total) lit += shot.At(x, y) > 0x101010u;
    }
    return total ? double(lit) / total : 0.0;
}

}  // namespace

TEST(FrameLoop, BlackDuringTheProbeThenThePictures) {
    e2e::SaverFolder folder(false);
    WritePicture(folder.Path() + L"default_1.jpg", 0xE02020u);
    WritePicture(folder.Path() + L"default_2.jpg", 0x20E020u);
    WritePicture(folder.Path() + L"default_3.jpg", 0x2020E0u);
    e2e::Process saver;
    HWND window = e2e::StartFullScreenSaver(saver, folder.Saver(), L"/s", 500, 400);
    ASSERT_TRUE(window);
    const e2e::Screenshot probing = e2e::CaptureScreen();
    e2e::SaveBitmap(probing, e2e::BinDir() + L"e2e-probe.bmp");
    EXPECT_EQ(LitShare(probing), 0.0);
    // The Rotation camera may be turning away from the pictures at any given
    // moment, so the pictures must show in some frame of the next few seconds.
    double bestShare = 0.0;
    for (int look = 0; look < 16 && bestShare <= 0.05; ++look) {
        e2e::PumpFor(500);
        const e2e::Screenshot running = e2e::CaptureScreen();
        const double share = LitShare(running);
        if (share > bestShare) {
            bestShare = share;
            e2e::SaveBitmap(running, e2e::BinDir() + L"e2e-running.bmp");
        }
    }
    EXPECT_GT(bestShare, 0.05);
    e2e::PressKey(VK_ESCAPE);
    const auto code = saver.WaitForExit(e2e::kSaverExitMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
}
