// The picture list box's own behaviour: its right-click menu, and the hint
// it shows while empty.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/driver/ConfigSession.h"

namespace {

using e2e::ConfigSession;
using Paths = std::vector<std::wstring>;


bool MenuClosed(const ConfigSession& run) {
    for (HWND window : e2e::WindowsOf(run.ProcessId())) {
        if (e2e::ClassOf(window) == L"#32768" && IsWindowVisible(window)) return false;
    }
    return true;
}

// Right-clicks entry `index` of the list as a user would; true when a menu opened.
bool RightClickEntry(const ConfigSession& run, int index) {
    RECT item{};
    SendMessageW(run.List(), LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&item));
    POINT at{item.left + 20, (item.top + item.bottom) / 2};
    ClientToScreen(run.List(), &at);
    SetForegroundWindow(run.Dialog());
    // Two right clicks at one place within the double-click time would make a
    // double click, which opens no menu.
    e2e::PumpFor(GetDoubleClickTime() + 50);
    e2e::ClickAt(at.x, at.y, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    return e2e::WaitUntil([&] { return !MenuClosed(run); }, 5000);
}

// Picks item `position` (from 0) of the open menu with the keyboard.
void PickMenuItem(int position) {
    for (int i = 0; i <= position; ++i) e2e::PressKey(VK_DOWN);
    e2e::PressKey(VK_RETURN);
}

TEST(ListBoxMenu, OffersAddAddFolderRemoveAndRemoveAllAndActsOnTheClickedEntry) {
    const Paths stored = {L"C:\\Pics\\1.jpg", L"C:\\Pics\\2.jpg", L"C:\\Pics\\3.jpg",
                          L"C:\\Pics\\4.jpg"};
    ConfigSession run(L"menu");
    std::vector<std::string> narrow;
    for (const auto& p : stored) narrow.push_back(e2e::Narrow(p));
    run.WriteSettings(e2e::SettingsText(narrow, 0));
    const std::wstring pics = run.Folder().Path() + L"pics\\";
    CreateDirectoryW(pics.c_str(), nullptr);
    run.Folder().Write(L"pics\\x.jpg", "x");
    run.Folder().Write(L"pics\\y.png", "y");
    ASSERT_TRUE(run.Open());

    // The menu's items act in order: Add, Add Folder, Remove, Remove All.
    // (Their texts live in the saver's memory, out of another process's reach
    // under Wine.)
    ASSERT_TRUE(RightClickEntry(run, 2));
    // The right click selected the third entry; Remove takes it.
    EXPECT_EQ(e2e::ListBoxSelection(run.List()), 2);
    PickMenuItem(2);
    ASSERT_TRUE(e2e::WaitUntil([&] { return run.Entries().size() == 3; }, 5000));
    EXPECT_EQ(run.Entries(), (Paths{stored[0], stored[1], stored[3]}));
    EXPECT_EQ(e2e::ListBoxSelection(run.List()), 1);

    // Dismissed: nothing changes.
    ASSERT_TRUE(RightClickEntry(run, 0));
    e2e::PressKey(VK_ESCAPE);
    ASSERT_TRUE(e2e::WaitUntil([&] { return MenuClosed(run); }, 5000));
    e2e::PumpFor(200);
    EXPECT_EQ(run.Entries(), (Paths{stored[0], stored[1], stored[3]}));

    // Add through the open-file dialog, two files at once.
    ASSERT_TRUE(RightClickEntry(run, 0));
    PickMenuItem(0);
    ASSERT_TRUE(e2e::AnswerOpenFileDialog(run.ProcessId(), pics, L"\"x.jpg\" \"y.png\"", 10000));
    ASSERT_TRUE(e2e::WaitUntil([&] { return run.Entries().size() == 5; }, 5000));

    // Add Folder through the folder picker: one entry, shown as a folder.
    ASSERT_TRUE(RightClickEntry(run, 0));
    PickMenuItem(1);
    ASSERT_TRUE(e2e::AnswerFolderPicker(run.ProcessId(), pics.substr(0, pics.size() - 1), 10000));
    ASSERT_TRUE(e2e::WaitUntil([&] { return run.Entries().size() == 6; }, 5000));
    EXPECT_EQ(run.Entries().back(), L"Folder: " + pics);

    // Remove All.
    ASSERT_TRUE(RightClickEntry(run, 1));
    PickMenuItem(3);
    ASSERT_TRUE(e2e::WaitUntil([&] { return run.Entries().empty(); }, 5000));

    run.Push(IDOK);
    ASSERT_TRUE(run.WaitForExit().has_value());
    EXPECT_EQ(run.Settings(), e2e::SettingsText({}, 0));
}

// Share of the list's client area in pixels matching `test`.
template <class Test>
double ShareOf(const e2e::Screenshot& shot, const RECT& area, Test test) {
    int hits = 0, all = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x, ++all) hits += test(shot.At(x, y)) ? 1 : 0;
    }
    return all ? double(hits) / all : 0.0;
}

RECT ClientOnScreen(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

TEST(ListBoxMenu, EmptyListShowsTheHintWithoutABackgroundPicture) {
    ConfigSession run(L"hint", false);
    run.WriteSettings(e2e::SettingsText({"C:\\Pics\\one.jpg"}, 0));
    ASSERT_TRUE(run.Open());
    SetForegroundWindow(run.Dialog());
    run.Push(IDC_REMOVE_ALL);
    e2e::PumpFor(500);
    const RECT list = ClientOnScreen(run.List());
    const e2e::Screenshot shot = e2e::CaptureScreen();
    e2e::SaveBitmap(shot, e2e::BinDir() + L"e2e-list-hint.bmp");
    const auto white = [](uint32_t p) { return p == 0xFFFFFF; };
    // The hint's dark blue: 220/255 of (0, 0, 64) over white.
    const auto ink = [](uint32_t p) {
        const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        return r < 140 && g < 140 && b > r + 15;
    };
    EXPECT_GT(ShareOf(shot, list, white), 0.8);
    // The first line lies in the top 50 rows, the second below it.
    RECT top = list, below = list;
    top.bottom = list.top + 30;
    below.top = list.top + 50;
    below.bottom = list.top + 150;
    EXPECT_GT(ShareOf(shot, top, ink), 0.005);
    EXPECT_GT(ShareOf(shot, below, ink), 0.005);
    run.Push(IDCANCEL);
    EXPECT_TRUE(run.WaitForExit().has_value());
}

// The empty list's client area on screen, for the language in the registry.
std::vector<uint32_t> EmptyListPixels(std::optional<DWORD> language, bool& hasPackage) {
    e2e::CurLangValue value(language);
    ConfigSession run(L"background");
    hasPackage = run.HasPackage();
    run.WriteSettings(e2e::SettingsText({"C:\\Pics\\one.jpg"}, 0));
    if (!run.Open()) return {};
    SetForegroundWindow(run.Dialog());
    run.Push(IDC_REMOVE_ALL);
    e2e::PumpFor(500);
    const RECT list = ClientOnScreen(run.List());
    const e2e::Screenshot shot = e2e::CaptureScreen();
    std::vector<uint32_t> pixels;
    for (int y = list.top; y < list.bottom; ++y) {
        for (int x = list.left; x < list.right; ++x) pixels.push_back(shot.At(x, y));
    }
    run.Push(IDCANCEL);
    run.WaitForExit();
    return pixels;
}

TEST(ListBoxMenu, EmptyListShowsTheBackgroundOfTheUsersLanguage) {
    bool hasPackage = false;
    const auto english = EmptyListPixels(std::nullopt, hasPackage);
    // Backgrounds come from the resource package; a build without one shows
    // the hint, which the test above covers.
    if (!hasPackage) {
        ASSERT_FALSE(e2e::BuildMakesPackage()) << "the build made no resource package";
        return;
    }
    ASSERT_FALSE(english.empty());
    const auto unknown = EmptyListPixels(9, hasPackage);
    const auto russian = EmptyListPixels(1, hasPackage);
    // Not the hint's white ground: a picture fills the list.
    const auto white = std::count(english.begin(), english.end(), 0xFFFFFFu);
    EXPECT_LT(double(white) / double(english.size()), 0.5);
    const auto differing = [&](const std::vector<uint32_t>& other) {
        size_t count = 0;
        for (size_t i = 0; i < english.size() && i < other.size(); ++i) count += other[i] != english[i];
        return double(count) / double(english.size());
    };
    ASSERT_EQ(unknown.size(), english.size());
    ASSERT_EQ(russian.size(), english.size());
    EXPECT_LT(differing(unknown), 0.01) << "an unknown language shows the English background";
    EXPECT_GT(differing(russian), 0.02) << "the Russian background is another picture";
}

}  // namespace
