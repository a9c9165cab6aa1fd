#include "collection/Collection_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "collection/CollectionRules.h"
#include "common/WideText_win.h"
#include "support/TestFolder_win.h"

using namespace WorkSpace;
using WorkSpace::Testing::TestFolder;

namespace {

std::vector<std::wstring> Gathered(const std::vector<std::wstring>& listed, size_t count,
                                   StartPictures* start = nullptr) {
    CollectionGathering gathering;
    gathering.Start(listed, count, false);
    gathering.Wait();
    StartPictures result;
    EXPECT_TRUE(gathering.Ready(result));
    std::vector<std::wstring> pictures = result.pictures;
    if (start) *start = std::move(result);
    return pictures;
}

}  // namespace

// The platform's listing on a planted tree: nesting in path order, hidden
// and system files, a folder linked back up (a loop if followed), a file
// listed directly and through its folder.
TEST(Collection, PlantedTreeOnDisk) {
    TestFolder tree;
    const std::wstring root = tree.Path() + L"Photos";
    for (const wchar_t* folder : {L"", L"\\b", L"\\b\\c", L"\\a"}) {
        ASSERT_TRUE(CreateDirectoryW((root + folder).c_str(), nullptr));
    }
    for (const wchar_t* file : {L"\\z.JPG", L"\\b\\c\\deep.png", L"\\b\\one.gif", L"\\a\\x.tiff",
                                L"\\notes.txt", L"\\hidden.jpg", L"\\system.bmp"}) {
        tree.Write(L"Photos" + std::wstring(file), "x");
    }
    SetFileAttributesW((root + L"\\hidden.jpg").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW((root + L"\\system.bmp").c_str(), FILE_ATTRIBUTE_SYSTEM);
    ASSERT_TRUE(CreateSymbolicLinkW((root + L"\\b\\c\\up").c_str(), root.c_str(),
                                    SYMBOLIC_LINK_FLAG_DIRECTORY));

    const std::vector<std::wstring> listed = {root + L"\\b\\one.gif", root + L"\\"};
    const std::vector<std::wstring> expected = {root + L"\\b\\one.gif", root + L"\\a\\x.tiff",
                                                root + L"\\b\\c\\deep.png", root + L"\\z.JPG"};
    EXPECT_EQ(Gathered(listed, 30), expected);
    RemoveDirectoryW((root + L"\\b\\c\\up").c_str());  // the folder's removal must not follow it

    // A folder that is not there, or not a folder, gives nothing.
    EXPECT_TRUE(Gathered({tree.Path() + L"gone\\", root + L"\\z.JPG\\"}, 30).empty());
}

// A collection larger than the slots flies the next pictures of the order,
// claimed with spares; one no larger flies whole, in list order.
TEST(Collection, StartPicturesFollowTheSlots) {
    TestFolder tree;
    std::vector<std::wstring> files;
    for (int i = 0; i < 12; ++i) files.push_back(tree.Write(L"p" + std::to_wstring(10 + i) + L".jpg", "x"));

    StartPictures start;
    EXPECT_EQ(Gathered({tree.Path()}, 12, &start), files);
    EXPECT_FALSE(start.order);
    const std::vector<std::wstring> listed = {files[3], files[3], files[0]};
    EXPECT_EQ(Gathered(listed, 30, &start), listed);  // no folder, fits: as listed, no thread

    const std::vector<std::wstring> many = Gathered({tree.Path()}, 5, &start);
    ASSERT_TRUE(start.order);
    ASSERT_EQ(many.size(), 10u);
    ASSERT_EQ(start.turns.size(), 10u);
    EXPECT_EQ(std::set<std::wstring>(many.begin(), many.end()).size(), 10u);
    for (const std::wstring& path : many) {
        EXPECT_NE(std::find(files.begin(), files.end(), path), files.end());
    }
}
