// The saver window as Windows and the user meet it: full screen on /s, closing
// on input, a child of the Display Properties window on /p and /l, one saver at
// a time.
#include <gtest/gtest.h>

#include "e2e/driver/Driver.h"
#include "e2e/driver/SaverWindows.h"

namespace {

using e2e::kSaverClass;
using e2e::kSaverExitMs;
using e2e::kSaverStartMs;
using e2e::MoveMouse;

// A full-screen saver started with the cursor at (x, y).
struct RunningSaver {
    e2e::Process process;
    HWND window = nullptr;

    explicit RunningSaver(const std::wstring& arguments = L"/s", int x = 500, int y = 400) {
        window = e2e::StartFullScreenSaver(process, e2e::SaverPath(), arguments, x, y);
    }
};

}  // namespace

TEST(SaverWindow, FullScreenTopmostOverTheVirtualScreen) {
    RunningSaver saver;
    ASSERT_TRUE(saver.window);
    RECT rect{};
    GetWindowRect(saver.window, &rect);
    EXPECT_EQ(rect.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
    EXPECT_EQ(rect.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
    EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(rect.bottom - rect.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    const LONG style = GetWindowLongW(saver.window, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_TRUE(GetWindowLongW(saver.window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetClassLongW(saver.window, GCL_STYLE), 0x2Bu);
    EXPECT_EQ(GetForegroundWindow(), saver.window);
    // The title never changes.
    SendMessageW(saver.window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"other"));
    EXPECT_EQ(e2e::WindowText(saver.window), L"Screen Saver");
    // Over the saver the cursor is hidden.
    CURSORINFO cursor{};
    cursor.cbSize = sizeof(cursor);
    ASSERT_TRUE(GetCursorInfo(&cursor));
    EXPECT_EQ(cursor.hCursor, nullptr);
}

TEST(SaverWindow, MouseTravelOfMoreThanFourPixelsCloses) {
    RunningSaver saver(L"/s", 500, 400);
    ASSERT_TRUE(saver.window);
    e2e::PumpFor(500);
    MoveMouse(saver.window, 503, 401);  // 4 pixels from where it started
    MoveMouse(saver.window, 500, 400);
    EXPECT_TRUE(saver.process.IsRunning());
    EXPECT_TRUE(IsWindow(saver.window));
    MoveMouse(saver.window, 503, 402);  // 5 pixels
    const auto code = saver.process.WaitForExit(kSaverExitMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
}

TEST(SaverWindow, KeyAndClicksClose) {
    struct Case { const char* name; void (*input)(); };
    const Case cases[] = {
        {"key", [] { e2e::PressKey(VK_SPACE); }},
        {"system key", [] { e2e::PressKey(VK_MENU); }},
        {"left click", [] { e2e::ClickAt(500, 400); }},
        {"right click", [] { e2e::ClickAt(500, 400, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); }},
    };
    for (const Case& c : cases) {
        RunningSaver saver;
        ASSERT_TRUE(saver.window) << c.name;
        e2e::PumpFor(500);
        c.input();
        const auto code = saver.process.WaitForExit(kSaverExitMs);
        ASSERT_TRUE(code.has_value()) << c.name;
        EXPECT_EQ(*code, 0u) << c.name;
    }
}

TEST(SaverWindow, PowerEventsCloseOrNotAsTheyShould) {
    struct Case { const char* name; UINT message; WPARAM wParam; LPARAM lParam; bool closes; };
    const Case cases[] = {
        {"automatic resume", WM_POWERBROADCAST, 7, 1, false},
        {"next window", WM_SYSCOMMAND, SC_NEXTWINDOW, 0, false},
        {"resume by the user", WM_POWERBROADCAST, 7, 0, true},
        {"monitor power", WM_SYSCOMMAND, SC_MONITORPOWER, 2, true},
        // Monitors counted at the start no longer hold: the saver ends.
        {"display change", WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768), true},
    };
    for (const Case& c : cases) {
        RunningSaver saver;
        ASSERT_TRUE(saver.window) << c.name;
        PostMessageW(saver.window, c.message, c.wParam, c.lParam);
        const auto code = saver.process.WaitForExit(c.closes ? kSaverExitMs : 1500);
        EXPECT_EQ(code.has_value(), c.closes) << c.name;
        if (code) {
            EXPECT_EQ(*code, 0u) << c.name;
        }
    }
}

TEST(SaverWindow, ASecondSaverBringsTheFirstForwardAndEnds) {
    RunningSaver first;
    ASSERT_TRUE(first.window);
    e2e::Process second;
    ASSERT_TRUE(second.Start(e2e::SaverPath(), L"/s"));
    const auto code = second.WaitForExit(kSaverExitMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_TRUE(first.process.IsRunning());
    EXPECT_EQ(GetForegroundWindow(), first.window);
}

TEST(SaverWindow, PreviewIsAChildOfTheHostThatInputNeverCloses) {
    for (const wchar_t* letter : {L"/p", L"/l"}) {
        e2e::HostWindow host(152, 112);
        ASSERT_TRUE(host.Get());
        e2e::Process saver;
        const std::wstring arguments =
            std::wstring(letter) + L" " + std::to_wstring(reinterpret_cast<uintptr_t>(host.Get()));
        ASSERT_TRUE(saver.Start(e2e::SaverPath(), arguments));
        HWND preview = e2e::WaitForChildOf(host.Get(), saver.Id(), kSaverStartMs);
        ASSERT_TRUE(preview) << letter;
        EXPECT_EQ(e2e::ClassOf(preview), kSaverClass);
        EXPECT_EQ(e2e::WindowText(preview), L"Preview");
        EXPECT_EQ(GetParent(preview), host.Get());
        EXPECT_TRUE(GetWindowLongW(preview, GWL_STYLE) & WS_CHILD);
        RECT rect{};
        GetClientRect(preview, &rect);
        EXPECT_EQ(rect.right, 152);
        EXPECT_EQ(rect.bottom, 112);

        // Keys, clicks and mouse travel never close a preview.
        PostMessageW(preview, WM_KEYDOWN, VK_SPACE, 0);
        PostMessageW(preview, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        e2e::MoveCursorTo(10, 10);
        PostMessageW(preview, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        e2e::MoveCursorTo(700, 600);
        PostMessageW(preview, WM_MOUSEMOVE, 0, MAKELPARAM(600, 500));
        PostMessageW(preview, WM_ACTIVATEAPP, FALSE, 0);
        // Help and the context menu belong to the host.
        PostMessageW(preview, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(preview), MAKELPARAM(60, 60));
        // WM_HELP carries a pointer, which cannot be posted on: only its answer shows.
        HELPINFO help{};
        help.cbSize = sizeof(help);
        EXPECT_EQ(SendMessageW(preview, WM_HELP, 0, reinterpret_cast<LPARAM>(&help)), 1) << letter;
        // The context menu is posted last: once the host has it, the preview
        // has handled everything before it. A close those inputs wrongly posted
        // would still be queued behind it, so the preview gets time to act on it.
        EXPECT_TRUE(e2e::WaitUntil(
            [&] { return e2e::HostWindow::LastContextMenu() == reinterpret_cast<WPARAM>(host.Get()); },
            5000))
            << letter;
        e2e::PumpFor(500);
        EXPECT_TRUE(saver.IsRunning()) << letter;
        EXPECT_TRUE(IsWindow(preview)) << letter;

        // The preview ends with its host.
        host.Destroy();
        const auto code = saver.WaitForExit(kSaverExitMs);
        ASSERT_TRUE(code.has_value()) << letter;
        EXPECT_EQ(*code, 0u) << letter;
    }
}

TEST(SaverWindow, ConfigurationWithoutAWindowAndPasswordOnTheNtFamily) {
    // "a" exists only on the Windows 9x family; elsewhere it ends with -1.
    e2e::Process saver;
    ASSERT_TRUE(saver.Start(e2e::SaverPath(), L"/a 0"));
    const auto code = saver.WaitForExit(kSaverExitMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0xFFFFFFFFu);
    EXPECT_TRUE(e2e::WindowsOf(saver.Id()).empty());
}

TEST(SaverWindow, ErrorModeWithoutAPackageStillHidesTheScreen) {
    // A recorded acceleration level makes the machine unfit: error mode.
    e2e::ScopedRegistryValue level(HKEY_LOCAL_MACHINE, e2e::DisplayAdapterKey(), L"Acceleration.Level", 0);
    e2e::WhiteCover cover;
    e2e::SaverFolder folder(false);
    e2e::Process saver;
    ASSERT_TRUE(saver.Start(folder.Saver(), L"/s"));
    HWND window = e2e::WaitForWindow(saver.Id(), kSaverClass, L"Screen Saver", kSaverStartMs);
    ASSERT_TRUE(window);
    e2e::WaitUntilForeground(window, kSaverStartMs);
    e2e::Screenshot shot;
    const auto notBlack = [&] {
        int count = 0;
        for (int y = 0; y < shot.height; y += 16) {
            for (int x = 0; x < shot.width; x += 16) count += shot.At(x, y) != 0;
        }
        return count;
    };
    e2e::WaitUntil([&] { return shot = e2e::CaptureScreen(), notBlack() == 0; }, 10000);
    e2e::SaveBitmap(shot, e2e::BinDir() + L"e2e-error-without-package.bmp");
    EXPECT_EQ(notBlack(), 0);
}
