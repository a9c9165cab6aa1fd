// A folder as a source of pictures, as a user makes it one: dropped on the
// configuration dialog, shown as a folder, stored by OK, and its pictures
// (those of its folders too) fly when the saver starts.
#include <gtest/gtest.h>

#include "e2e/driver/ConfigSession.h"
#include "e2e/driver/Driver.h"
#include "e2e/driver/SaverWindows.h"
#include "resources/PngWriter.h"

namespace {

bool WriteSolidPng(const std::wstring& path, uint8_t red, uint8_t green, uint8_t blue) {
    WorkSpace::Testing::PngForm form;
    form.width = 64;
    form.height = 48;
    form.colourType = 2;
    const uint8_t rgb[3] = {red, green, blue};
    const std::vector<uint8_t> png = WorkSpace::Testing::EncodePng(
        form, [&](int, int, int channel) { return uint32_t(rgb[channel]); });
    return WorkSpace::Testing::WriteBytes(path, {reinterpret_cast<const char*>(png.data()), png.size()});
}

// Pixels of the screen close to a pure colour (0x00RRGGBB).
int CountNear(const e2e::Screenshot& shot, uint32_t colour) {
    int count = 0;
    for (uint32_t pixel : shot.pixels) {
        int distance = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            distance += std::abs(int((pixel >> shift) & 0xFF) - int((colour >> shift) & 0xFF));
        }
        count += distance < 40;
    }
    return count;
}

}  // namespace

TEST(CollectionFolder, AFolderDroppedOnTheDialogFliesAfterOk) {
    e2e::ConfigSession run(L"folder");
    const std::wstring photos = run.Folder().Path() + L"photos";
    ASSERT_TRUE(CreateDirectoryW(photos.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((photos + L"\\inner").c_str(), nullptr));
    ASSERT_TRUE(WriteSolidPng(photos + L"\\red.png", 255, 0, 0));
    ASSERT_TRUE(WriteSolidPng(photos + L"\\inner\\green.png", 0, 255, 0));
    ASSERT_TRUE(run.Folder().Write(L"photos\\notes.txt", "not a picture").size() > 0);
    ASSERT_TRUE(run.Open());

    run.Push(IDC_REMOVE_ALL);
    ASSERT_TRUE(e2e::DropFiles(run.Dialog(), {photos}));
    EXPECT_EQ(run.Entries(), std::vector<std::wstring>{L"Folder: " + photos + L"\\"});
    run.Push(IDOK);
    ASSERT_TRUE(run.WaitForExit().has_value());
    EXPECT_EQ(run.Settings(), e2e::SettingsText({e2e::Narrow(photos + L"\\")}, 0));

    e2e::Process saver;
    HWND window = e2e::StartFullScreenSaver(saver, run.Folder().Path() + L"Veltrano.scr", L"/s", 500, 400);
    ASSERT_TRUE(window);
    int red = 0, green = 0;
    e2e::Screenshot shot;
    e2e::WaitUntil(
        [&] {
            shot = e2e::CaptureScreen();
            red = CountNear(shot, 0xFF0000);
            green = CountNear(shot, 0x00FF00);
            return red > 500 && green > 500;
        },
        20000);
    e2e::SaveBitmap(shot, e2e::BinDir() + L"e2e-collection-folder.bmp");
    EXPECT_GT(red, 500);
    EXPECT_GT(green, 500);
    e2e::PressKey(VK_ESCAPE);
    const auto code = saver.WaitForExit(e2e::kSaverExitMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
}
