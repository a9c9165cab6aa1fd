// The configuration dialog's full-screen preview: it covers the screen, ends
// only on a plain left or right click, Enter or Escape, and leaves the
// picture list exactly as the user left it.
#include <gtest/gtest.h>

#include "e2e/driver/ConfigSession.h"
#include "e2e/driver/PreviewDriver.h"

namespace {

using e2e::ConfigSession;
using e2e::CursorShown;
using e2e::OpenPreview;
using End = e2e::PreviewEnd;
using Paths = std::vector<std::wstring>;


std::vector<std::string> NumberedPaths(int count) {
    std::vector<std::string> paths;
    for (int i = 1; i <= count; ++i) paths.push_back("C:\\Pics\\pic" + std::to_string(i) + ".jpg");
    return paths;
}

void ShiftClick(int x, int y) {
    INPUT shift[2] = {};
    shift[0].type = shift[1].type = INPUT_KEYBOARD;
    shift[0].ki.wVk = shift[1].ki.wVk = VK_SHIFT;
    shift[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &shift[0], sizeof(INPUT));
    e2e::ClickAt(x, y);
    SendInput(1, &shift[1], sizeof(INPUT));
}

double BlackShare(const e2e::Screenshot& shot, const RECT& area) {
    int black = 0, all = 0;
    for (int y = area.top; y < area.bottom; y += 2) {
        for (int x = area.left; x < area.right; x += 2, ++all) black += shot.At(x, y) == 0 ? 1 : 0;
    }
    return double(black) / all;
}

TEST(Preview, CoversTheScreenAndEndsOnlyOnAPlainClickEnterOrEscape) {
    ConfigSession run(L"preview");
    const auto stored = NumberedPaths(27);
    run.WriteSettings(e2e::SettingsText(stored, 1));
    ASSERT_TRUE(run.Open());
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);

    for (End end : {End::LeftClick, End::RightClick, End::Enter, End::Escape}) {
        SCOPED_TRACE(int(end));
        HWND preview = OpenPreview(run);
        ASSERT_NE(preview, nullptr);
        RECT frame{};
        GetWindowRect(preview, &frame);
        EXPECT_EQ(frame.left, 0);
        EXPECT_EQ(frame.top, 0);
        EXPECT_EQ(frame.right, width);
        EXPECT_EQ(frame.bottom, height);
        // The named pictures do not exist: the scene flies nothing over black,
        // and the dialog underneath is covered.
        const e2e::Screenshot shot = e2e::CaptureScreen();
        if (end == End::LeftClick) e2e::SaveBitmap(shot, e2e::BinDir() + L"e2e-preview.bmp");
        EXPECT_GT(BlackShare(shot, RECT{width / 4, height / 4, width * 3 / 4, height * 3 / 4}), 0.95);

        EXPECT_FALSE(CursorShown()) << "the preview hides the cursor";
        if (end == End::LeftClick) {
            ShiftClick(width / 2, height / 2);
            e2e::ClickAt(width / 2, height / 2, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
            e2e::PressKey(VK_SPACE);
            e2e::PumpFor(500);
            EXPECT_TRUE(IsWindow(preview)) << "ended by Shift-click, middle click or Space";
        }
        e2e::GiveEndingInput(end);
        ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(preview); }, 5000));
        EXPECT_TRUE(IsWindowVisible(run.Dialog()));
        EXPECT_TRUE(CursorShown()) << "the cursor is back after the preview";
    }

    // The list and `pictures` are as they were: OK stores all 27.
    EXPECT_EQ(run.Entries().size(), 21u);
    run.Push(IDOK);
    ASSERT_TRUE(run.WaitForExit().has_value());
    EXPECT_EQ(run.Settings(), e2e::SettingsText(stored, 1));
}

TEST(Preview, FliesTheUnsavedChoice) {
    ConfigSession run(L"preview-choice");
    // A picture of plain red, dropped but not saved.
    e2e::Screenshot red;
    red.width = red.height = 64;
    red.pixels.assign(64 * 64, 0xFF0000);
    const std::wstring picture = run.Folder().Path() + L"red.bmp";
    ASSERT_TRUE(e2e::SaveBitmap(red, picture));
    const std::string stored = e2e::SettingsText({"C:\\Pics\\missing.jpg"}, 0);
    run.WriteSettings(stored);
    ASSERT_TRUE(run.Open());
    run.Push(IDC_REMOVE_ALL);
    ASSERT_TRUE(e2e::DropFiles(run.Dialog(), {picture}));

    // Past the half-second probe the picture flies. A machine too busy for the
    // probe shows the error screen instead; each preview decides afresh, so a
    // few more are given the chance.
    bool seen = false;
    for (int attempt = 0; attempt < 4 && !seen; ++attempt) {
        HWND preview = OpenPreview(run);
        ASSERT_NE(preview, nullptr);
        e2e::Screenshot shot;
        seen = e2e::WaitUntil(
            [&] {
                shot = e2e::CaptureScreen();
                int reds = 0;
                for (uint32_t p : shot.pixels) {
                    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
                    reds += (r > 150 && g < 60 && b < 60) ? 1 : 0;
                }
                return reds > 500;
            },
            3000);
        e2e::SaveBitmap(shot, e2e::BinDir() + L"e2e-preview-red.bmp");
        e2e::PressKey(VK_ESCAPE);
        ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(preview); }, 5000));
    }
    EXPECT_TRUE(seen);
    run.Push(IDCANCEL);
    ASSERT_TRUE(run.WaitForExit().has_value());
    EXPECT_EQ(run.Settings(), stored);
}

TEST(Preview, OfAnEmptyListLeavesNoPictureBehind) {
    ConfigSession run(L"preview-empty");
    run.WriteSettings(e2e::SettingsText(NumberedPaths(2), 0));
    ASSERT_TRUE(run.Open());
    run.Push(IDC_REMOVE_ALL);
    HWND preview = OpenPreview(run);
    ASSERT_NE(preview, nullptr);
    e2e::PressKey(VK_ESCAPE);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(preview); }, 5000));
    // The default pictures the preview flew are not in the list afterwards:
    // a drop and its removal leave nothing.
    EXPECT_TRUE(run.Entries().empty());
    ASSERT_TRUE(e2e::DropFiles(run.Dialog(), {L"C:\\In\\new.png"}));
    EXPECT_EQ(run.Entries(), Paths{L"C:\\In\\new.png"});
    SendMessageW(run.List(), LB_SETCURSEL, 0, 0);
    run.Push(IDC_REMOVE);
    EXPECT_TRUE(run.Entries().empty());
    run.Push(IDOK);
    ASSERT_TRUE(run.WaitForExit().has_value());
    EXPECT_EQ(run.Settings(), e2e::SettingsText({}, 0));
}

}  // namespace
