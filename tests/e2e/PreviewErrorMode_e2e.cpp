// The configuration dialog's preview on a machine the saver refuses and without
// the resource package: with no error picture to show it still hides the whole
// screen behind black, and the usual click, Enter or Escape ends it.
#include <gtest/gtest.h>

#include "e2e/driver/ConfigSession.h"
#include "e2e/driver/PreviewDriver.h"
#include "e2e/driver/SaverWindows.h"

namespace {

using End = e2e::PreviewEnd;

// Sampled pixels of the whole screen that are not black.
int NotBlack(const e2e::Screenshot& shot) {
    int count = 0;
    for (int y = 0; y < shot.height; y += 8) {
        for (int x = 0; x < shot.width; x += 8) count += shot.At(x, y) != 0 ? 1 : 0;
    }
    return count;
}

}  // namespace

TEST(PreviewErrorMode, WithoutAnErrorPictureTheWholeScreenIsBlack) {
    // A recorded acceleration level makes the machine unfit: error mode.
    e2e::ScopedRegistryValue level(HKEY_LOCAL_MACHINE, e2e::DisplayAdapterKey(), L"Acceleration.Level", 0);
    e2e::WhiteCover cover;
    e2e::ConfigSession run(L"preview-error", false);
    ASSERT_FALSE(run.HasPackage());
    run.WriteSettings(e2e::SettingsText({"C:\\Pics\\missing.jpg"}, 0));
    ASSERT_TRUE(run.Open());

    for (End end : {End::LeftClick, End::Enter, End::Escape}) {
        SCOPED_TRACE(int(end));
        HWND preview = e2e::OpenPreview(run);
        ASSERT_NE(preview, nullptr);
        // The white cover and the dialog lie beneath; a busy machine may take a
        // few frames before the first fill reaches the screen.
        e2e::Screenshot shot;
        const bool black = e2e::WaitUntil(
            [&] {
                shot = e2e::CaptureScreen();
                return NotBlack(shot) == 0;
            },
            10000);
        if (end == End::LeftClick) e2e::SaveBitmap(shot, e2e::BinDir() + L"e2e-preview-error.bmp");
        EXPECT_TRUE(black) << NotBlack(shot) << " sampled pixels are not black";
        EXPECT_FALSE(e2e::CursorShown()) << "the preview hides the cursor";

        e2e::GiveEndingInput(end);
        ASSERT_TRUE(e2e::WaitUntilGone(preview, 5000));
        EXPECT_TRUE(IsWindowVisible(run.Dialog()));
        EXPECT_TRUE(e2e::CursorShown()) << "the cursor is back after the preview";
    }
    run.Push(IDCANCEL);
    ASSERT_TRUE(run.WaitForExit().has_value());
}
