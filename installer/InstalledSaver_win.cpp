// The saver as the installer leaves it: started from the system folder, as
// Windows starts it, with the settings file the installer wrote.
// installer-test.sh runs these after a silent install with /LANG=ru.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "e2e/driver/Driver.h"

namespace {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 10000;

std::wstring InstalledSaver() {
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\Veltrano.scr";
}

}  // namespace

TEST(InstalledSaver, SavesFullScreenUntilAKeyIsPressed) {
    e2e::Process saver;
    ASSERT_TRUE(saver.Start(InstalledSaver(), L"/s"));
    HWND window = e2e::WaitForWindow(saver.Id(), L"WindowsScreenSaverClass", nullptr,
                                     kStartTimeoutMs);
    ASSERT_NE(window, nullptr);
    e2e::PumpFor(2000);
    ASSERT_TRUE(saver.IsRunning());

    const e2e::Screenshot shot = e2e::CaptureScreen();
    e2e::SaveBitmap(shot, e2e::BinDir() + L"installed-saver.bmp");
    const bool drawn = std::any_of(shot.pixels.begin(), shot.pixels.end(),
                                   [](uint32_t pixel) { return (pixel & 0xFFFFFF) != 0; });
    EXPECT_TRUE(drawn) << "the installed saver shows a black screen";

    e2e::PressKey(VK_SPACE);
    const auto code = saver.WaitForExit(kExitTimeoutMs);
    ASSERT_TRUE(code.has_value()) << "a key press did not end the saver";
    EXPECT_EQ(*code, 0u);
}
