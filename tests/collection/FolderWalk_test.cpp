#include "collection/FolderWalk.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "collection/CollectionRules.h"

using namespace WorkSpace;

TEST(CollectionRules, WhatAWalkTakesEntersAndSkips) {
    constexpr uint32_t kDir = kAttributeDirectory;
    constexpr uint32_t kLink = kAttributeReparsePoint;
    constexpr uint32_t kSymlinkTag = 0xA000000C, kJunctionTag = 0xA0000003, kCloudTag = 0x9000601A;
    const struct {
        const char16_t* name;
        uint32_t attributes;
        uint32_t tag;
        EntryAction action;
    } cases[] = {
        {u"a.jpg", 0, 0, EntryAction::Take},         {u"B.JPEG", 0x20, 0, EntryAction::Take},
        {u"c.Jpe", 0, 0, EntryAction::Take},         {u"d.jfif", 0, 0, EntryAction::Take},
        {u"e.png", 0, 0, EntryAction::Take},         {u"f.gif", 0, 0, EntryAction::Take},
        {u"g.tif", 0, 0, EntryAction::Take},         {u"h.TIFF", 0, 0, EntryAction::Take},
        {u"i.bmp", 0, 0, EntryAction::Take},         {u"j.dib", 0, 0, EntryAction::Take},
        {u"notes.txt", 0, 0, EntryAction::Skip},     {u"jpg", 0, 0, EntryAction::Skip},
        {u"k.jpg.lnk", 0, 0, EntryAction::Skip},     {u"raw.cr2", 0, 0, EntryAction::Skip},
        {u"hidden.jpg", kAttributeHidden, 0, EntryAction::Skip},
        {u"thumbs.jpg", kAttributeSystem, 0, EntryAction::Skip},
        {u"away.jpg", kAttributeRecallOnDataAccess, 0, EntryAction::Skip},
        {u"tape.jpg", kAttributeOffline, 0, EntryAction::Skip},
        {u"link.jpg", kLink, kSymlinkTag, EntryAction::Skip},
        {u"cloud.jpg", kLink, kCloudTag, EntryAction::Take},
        {u"sub", kDir, 0, EntryAction::Enter},       {u"sub.jpg", kDir, 0, EntryAction::Enter},
        {u".", kDir, 0, EntryAction::Skip},          {u"..", kDir, 0, EntryAction::Skip},
        {u"Hidden", kDir | kAttributeHidden, 0, EntryAction::Skip},
        {u"junction", kDir | kLink, kJunctionTag, EntryAction::Skip},
        {u"dirlink", kDir | kLink, kSymlinkTag, EntryAction::Skip},
        {u"unknown", kDir | kLink, 0, EntryAction::Skip},
        {u"OneDrive", kDir | kLink, kCloudTag, EntryAction::Enter},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClassifyEntry(c.name, c.attributes, c.tag), c.action)
            << std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name));
    }
    for (const char16_t* folder : {u"C:\\Photos\\", u"D:\\", u"\\\\server\\share\\", u"C:/x/"}) {
        EXPECT_TRUE(IsFolderEntry(folder));
    }
    for (const char16_t* file : {u"C:\\Photos", u"C:\\a.jpg", u""}) EXPECT_FALSE(IsFolderEntry(file));
    EXPECT_EQ(AsFolderEntry(u"C:\\Photos"), u"C:\\Photos\\");
    EXPECT_EQ(AsFolderEntry(u"D:\\"), u"D:\\");
}

namespace {

// A planted tree: folder path -> its entries. A folder that is not there
// cannot be read.
struct Tree {
    std::map<std::u16string, std::vector<FolderEntry>> folders;
    std::vector<std::u16string> listedFolders;  // in the order the walk asked

    void File(const std::u16string& folder, const std::u16string& name, uint32_t attributes = 0) {
        folders[folder].push_back({name, attributes, 0});
    }
    void Folder(const std::u16string& folder, const std::u16string& name, uint32_t attributes = 0,
                uint32_t tag = 0) {
        folders[folder].push_back({name, attributes | kAttributeDirectory, tag});
        folders[JoinPath(folder, name)];  // readable, even when empty
    }
    FolderLister Lister() {
        return [this](const std::u16string& folder, std::vector<FolderEntry>& entries) {
            listedFolders.push_back(folder);
            const auto found = folders.find(folder);
            if (found == folders.end()) return false;
            entries = found->second;
            return true;
        };
    }
};

constexpr WalkBounds kWide{32, 1000000, 100000};

}  // namespace

TEST(FolderWalk, PlantedTreeGivesItsPicturesInPathOrder) {
    Tree tree;
    // Listed in no order; hidden and system files, other files, a link back
    // up (a loop if followed), an unreadable folder, a file listed directly.
    tree.File(u"P", u"b.png");
    tree.File(u"P", u"notes.txt");
    tree.Folder(u"P", u"a");
    tree.File(u"P", u"A.jpg");
    tree.File(u"P", u"thumbs.db.jpg", kAttributeHidden | kAttributeSystem);
    tree.File(u"P", u"c.gif", kAttributeHidden);
    tree.File(u"P\\a", u"z.tif");
    tree.Folder(u"P\\a", u"deep");
    tree.File(u"P\\a\\deep", u"y.jpeg");
    tree.Folder(u"P\\a\\deep", u"loop", kAttributeReparsePoint, 0xA0000003);
    tree.folders[u"P\\a\\deep\\loop"] = tree.folders[u"P"];  // the loop, were it entered
    tree.Folder(u"P", u"locked");
    tree.folders.erase(u"P\\locked");
    tree.File(u"Q", u"dup.jpg");
    tree.File(u"Q", u"b.png");
    const std::vector<std::u16string> listed = {u"X\\first.jpg", u"P\\", u"P\\A.JPG", u"Q\\",
                                                u"Q\\", u"X\\first.jpg"};
    const std::vector<std::u16string> collection = GatherCollection(listed, tree.Lister(), kWide);
    // A picture listed directly stays in its place (twice when listed twice),
    // and a folder does not give it again; a folder listed twice gives nothing more.
    const std::vector<std::u16string> expected = {
        u"X\\first.jpg", u"P\\a\\deep\\y.jpeg", u"P\\a\\z.tif", u"P\\b.png",
        u"P\\A.JPG",     u"Q\\b.png",         u"Q\\dup.jpg",  u"X\\first.jpg"};
    EXPECT_EQ(collection, expected);
    for (const std::u16string& folder : tree.listedFolders) {
        EXPECT_EQ(folder.find(u"loop"), std::u16string::npos);
    }
}

TEST(FolderWalk, BoundsStopTheWalkWithWhatItFound) {
    Tree tree;
    std::u16string folder = u"R";
    for (int level = 0; level < 5; ++level) {
        tree.File(folder, u"p" + std::u16string(1, char16_t(u'0' + level)) + u".jpg");
        tree.File(folder, u"x.txt");
        tree.Folder(folder, u"s");
        folder += u"\\s";
    }
    const std::vector<std::u16string> listed = {u"R\\"};
    const struct {
        WalkBounds bounds;
        size_t pictures;
    } cases[] = {
        {kWide, 5},
        {{2, 1000000, 100000}, 3},  // R, and two levels below it
        {{32, 1000000, 4}, 4},
        {{32, 6, 100000}, 3},       // p0, s, p1, s, p2, s: six entries looked at
        {{0, 1000000, 100000}, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GatherCollection(listed, tree.Lister(), c.bounds).size(), c.pictures)
            << c.bounds.depth << " " << c.bounds.entries << " " << c.bounds.pictures;
    }
    std::atomic<bool> stop{true};
    EXPECT_TRUE(GatherCollection(listed, tree.Lister(), kWide, &stop).empty());
    // Without folders the list is its own collection, nothing read.
    Tree untouched;
    const std::vector<std::u16string> files = {u"a.jpg", u"missing", u"a.jpg"};
    EXPECT_EQ(GatherCollection(files, untouched.Lister(), kWide), files);
    EXPECT_TRUE(untouched.listedFolders.empty());
}
