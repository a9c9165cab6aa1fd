// Building a picture list in the configuration dialog: Add through the real
// open-file dialog, drops, Remove, Remove All, and what OK then stores. The
// list always shows the first 21 pictures, entry i being picture i.
#include <gtest/gtest.h>

#include "e2e/driver/ConfigSession.h"

namespace {

using e2e::ConfigSession;
using Paths = std::vector<std::wstring>;


std::vector<std::string> NarrowAll(const Paths& paths) {
    std::vector<std::string> narrow;
    for (const auto& path : paths) narrow.push_back(e2e::Narrow(path));
    return narrow;
}

Paths Numbered(const std::wstring& folder, int count, const wchar_t* extension = L".jpg") {
    Paths paths;
    for (int i = 1; i <= count; ++i) paths.push_back(folder + L"pic" + std::to_wstring(i) + extension);
    return paths;
}

Paths FirstOf(const Paths& paths, size_t count) {
    return Paths(paths.begin(), paths.begin() + std::min(count, paths.size()));
}

TEST(PictureList, AddTakesOneOrSeveralFilesFromTheOpenFileDialog) {
    ConfigSession run(L"add");
    const std::wstring pics = run.Folder().Path() + L"pics\\";
    CreateDirectoryW(pics.c_str(), nullptr);
    for (const wchar_t* name : {L"a.jpg", L"b.png", L"c.bmp", L"d.jpg"}) {
        run.Folder().Write(std::wstring(L"pics\\") + name, "x");
    }
    run.WriteSettings(e2e::SettingsText({"C:\\Old\\kept.jpg"}, 0));
    ASSERT_TRUE(run.Open());

    e2e::PostCommand(run.Dialog(), IDC_ADD);
    ASSERT_TRUE(e2e::AnswerOpenFileDialog(run.ProcessId(), L"", pics + L"a.jpg", 10000));
    ASSERT_TRUE(e2e::WaitUntil([&] { return run.Entries().size() == 2; }, 5000));

    // The dialog opens where the last choice was; several names at once.
    e2e::PostCommand(run.Dialog(), IDC_ADD);
    ASSERT_TRUE(e2e::AnswerOpenFileDialog(run.ProcessId(), L"", L"\"b.png\" \"c.bmp\"", 10000));
    ASSERT_TRUE(e2e::WaitUntil([&] { return run.Entries().size() == 4; }, 5000));

    // Cancelling adds nothing.
    e2e::PostCommand(run.Dialog(), IDC_ADD);
    HWND chooser = nullptr;
    ASSERT_TRUE(e2e::WaitUntil(
        [&] { return (chooser = e2e::FindOpenFileDialog(run.ProcessId())) != nullptr; }, 10000));
    PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(chooser); }, 5000));

    const Paths expected = {L"C:\\Old\\kept.jpg", pics + L"a.jpg", pics + L"b.png", pics + L"c.bmp"};
    EXPECT_EQ(run.Entries(), expected);
    run.Push(IDOK);
    ASSERT_TRUE(run.WaitForExit().has_value());
    EXPECT_EQ(run.Settings(), e2e::SettingsText(NarrowAll(expected), 0));
}

TEST(PictureList, RemoveTakesTheSelectedPictureAndSelectsTheOneAbove) {
    const Paths stored = Numbered(L"C:\\Pics\\", 8);
    const struct {
        int selected;
        int removed;        // index gone from the list, -1: none
        int selectedAfter;
    } cases[] = {{0, 0, 0}, {5, 5, 4}, {-1, -1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected);
        ConfigSession run(L"remove");
        run.WriteSettings(e2e::SettingsText(NarrowAll(stored), 0));
        ASSERT_TRUE(run.Open());
        SendMessageW(run.List(), LB_SETCURSEL, WPARAM(c.selected), 0);
        run.Push(IDC_REMOVE);
        Paths expected = stored;
        if (c.removed >= 0) expected.erase(expected.begin() + c.removed);
        EXPECT_EQ(run.Entries(), expected);
        EXPECT_EQ(e2e::ListBoxSelection(run.List()), c.selectedAfter);
        run.Push(IDOK);
        ASSERT_TRUE(run.WaitForExit().has_value());
        EXPECT_EQ(run.Settings(), e2e::SettingsText(NarrowAll(expected), 0));
    }
}

TEST(PictureList, DropsAddOnlyPicturesTheSaverTakes) {
    ConfigSession run(L"drop");
    run.WriteSettings(e2e::SettingsText({"C:\\Pics\\one.jpg"}, 0));
    ASSERT_TRUE(run.Open());
    ASSERT_TRUE(e2e::DropFiles(run.Dialog(), {L"C:\\In\\A.JPG", L"C:\\In\\b.Tif", L"C:\\In\\c.jpeg",
                                              L"C:\\In\\d.gif", L"C:\\In\\e"}));
    const Paths expected = {L"C:\\Pics\\one.jpg", L"C:\\In\\A.JPG", L"C:\\In\\b.Tif"};
    EXPECT_EQ(run.Entries(), expected);

    // A path too long for one line of the settings file is left out; one
    // just short enough goes in whole.
    const std::wstring longest = L"C:\\" + std::wstring(2047 - 7, L'x') + L".jpg";
    const std::wstring tooLong = L"C:\\" + std::wstring(2048 - 7, L'y') + L".jpg";
    ASSERT_EQ(longest.size(), 2047u);
    ASSERT_TRUE(e2e::DropFiles(run.Dialog(), {tooLong, longest}));
    Paths withLongest = expected;
    withLongest.push_back(longest);
    EXPECT_EQ(run.Entries(), withLongest);

    run.Push(IDOK);
    ASSERT_TRUE(run.WaitForExit().has_value());
    EXPECT_EQ(run.Settings(), e2e::SettingsText(NarrowAll(withLongest), 0));
}

TEST(PictureList, ShowsTheFirst21PicturesAndKeepsEveryOne) {
    ConfigSession run(L"many");
    run.WriteSettings(e2e::SettingsText({"C:\\Pics\\first.jpg"}, 2));
    ASSERT_TRUE(run.Open());
    run.Push(IDC_REMOVE_ALL);
    const Paths added = Numbered(L"C:\\Many\\", 25);
    ASSERT_TRUE(e2e::DropFiles(run.Dialog(), added));
    EXPECT_EQ(run.Entries(), FirstOf(added, 21));

    // Removing the first brings the 22nd into view; the selection stays on top.
    SendMessageW(run.List(), LB_SETCURSEL, 0, 0);
    run.Push(IDC_REMOVE);
    Paths kept(added.begin() + 1, added.end());
    EXPECT_EQ(run.Entries(), FirstOf(kept, 21));
    EXPECT_EQ(e2e::ListBoxSelection(run.List()), 0);

    // Added while the list is full: kept, saved, not shown.
    ASSERT_TRUE(e2e::DropFiles(run.Dialog(), {L"C:\\Late\\z.png"}));
    kept.push_back(L"C:\\Late\\z.png");
    EXPECT_EQ(run.Entries(), FirstOf(kept, 21));

    run.Push(IDOK);
    ASSERT_TRUE(run.WaitForExit().has_value());
    EXPECT_EQ(run.Settings(), e2e::SettingsText(NarrowAll(kept), 2));
}

}  // namespace
