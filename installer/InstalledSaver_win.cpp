// The saver as the installer leaves it: started from the system folder, as
// Windows starts it, with the settings file the installer wrote, it saves full
// screen, and its configuration dialog speaks the language chosen at install
// and saves beside it. installer-test.sh runs these after a silent install with
// /LANG=ru.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "e2e/driver/Driver.h"

namespace {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 10000;
constexpr int kCancelButton = 2;
constexpr int kSchemeBox = 1002;
constexpr int kApproachScheme = 2;

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return folder;
}

std::wstring InstalledSaver() { return SystemFolder() + L"\\Veltrano.scr"; }

bool HasCyrillic(const std::wstring& text) {
    return std::any_of(text.begin(), text.end(),
                       [](wchar_t c) { return c >= 0x0400 && c <= 0x04FF; });
}

std::wstring ControlText(HWND dialog, int id) {
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

std::string FileBytes(const std::wstring& path) {
    std::string bytes;
    if (FILE* file = _wfopen(path.c_str(), L"rb")) {
        char chunk[4096];
        size_t count;
        while ((count = fread(chunk, 1, sizeof(chunk), file)) > 0) bytes.append(chunk, count);
        fclose(file);
    }
    return bytes;
}

}  // namespace

TEST(InstalledSaver, SavesFullScreenUntilAKeyIsPressed) {
    e2e::Process saver;
    ASSERT_TRUE(saver.Start(InstalledSaver(), L"/s"));
    HWND window = e2e::WaitForWindow(saver.Id(), L"WindowsScreenSaverClass", nullptr,
                                     kStartTimeoutMs);
    ASSERT_NE(window, nullptr);
    // The pictures show once they are built and the frame rate is measured:
    // on a busy machine that takes longer than the black first second.
    e2e::Screenshot shot;
    bool drawn = false;
    for (const DWORD start = GetTickCount(); !drawn && GetTickCount() - start < kStartTimeoutMs;) {
        e2e::PumpFor(250);
        ASSERT_TRUE(saver.IsRunning());
        shot = e2e::CaptureScreen();
        drawn = std::any_of(shot.pixels.begin(), shot.pixels.end(),
                            [](uint32_t pixel) { return (pixel & 0xFFFFFF) != 0; });
    }
    e2e::SaveBitmap(shot, e2e::BinDir() + L"installed-saver.bmp");
    EXPECT_TRUE(drawn) << "the installed saver shows a black screen";

    e2e::PressKey(VK_SPACE);
    const auto code = saver.WaitForExit(kExitTimeoutMs);
    ASSERT_TRUE(code.has_value()) << "a key press did not end the saver";
    EXPECT_EQ(*code, 0u);
}

TEST(InstalledSaver, ConfigurationSpeaksTheInstalledLanguageAndSaves) {
    const std::wstring settingsPath = SystemFolder() + L"\\Veltrano.scr.settings";
    const std::string installed = FileBytes(settingsPath);
    ASSERT_NE(installed.find("SelectScheme 0\r\n"), std::string::npos);

    e2e::Process saver;
    ASSERT_TRUE(saver.Start(InstalledSaver(), L"/c"));
    HWND dialog = e2e::WaitForWindow(saver.Id(), L"#32770", nullptr, kStartTimeoutMs);
    ASSERT_NE(dialog, nullptr);
    e2e::PumpFor(500);
    EXPECT_TRUE(HasCyrillic(e2e::WindowText(dialog))) << "the title is not Russian";
    EXPECT_TRUE(HasCyrillic(ControlText(dialog, kCancelButton))) << "Cancel is not Russian";

    // OK keeps the installed picture list and stores the chosen scheme.
    SendDlgItemMessageW(dialog, kSchemeBox, CB_SETCURSEL, kApproachScheme, 0);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(saver.WaitForExit(kExitTimeoutMs).has_value()) << "OK did not end the dialog";
    std::string expected = installed;
    expected.replace(expected.find("SelectScheme 0"), 14, "SelectScheme 2");
    EXPECT_EQ(FileBytes(settingsPath), expected);
}
