#include "config/PictureListRules.h"

#include <gtest/gtest.h>

#include <string>

namespace WorkSpace {
namespace {

TEST(PictureListRules, DropTakesOnlyTheSaverPictureExtensions) {
    const struct {
        std::u16string_view path;
        bool taken;
    } cases[] = {
        {u"C:\\In\\A.JPG", true},       {u"C:\\In\\b.Tif", true},
        {u"C:\\In\\c.jpeg", false},     {u"C:\\In\\d.gif", false},
        {u"C:\\In\\e", false},          {u"C:\\In\\f.png", true},
        {u"C:\\In\\g.TIFF", true},      {u"C:\\In\\h.bmp", true},
        {u"C:\\In\\archive.jpg.zip", false},
        {u"C:\\Pics.jpg\\noext", false},  // a dotted folder lends no extension
        {u"C:/Pics/i.jpg", true},       {u"C:j.png", true},
        {u"C:\\In\\.jpg", true},        // a name that is all extension
        {u"C:\\In\\k.jp", false},       {u"C:\\In\\l.jpg ", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsDroppablePicture(c.path), c.taken)
            << std::string(c.path.begin(), c.path.end());
    }
}

TEST(PictureListRules, DroppedFoldersBecomeFolderEntriesShownAsFolders) {
    const struct {
        std::u16string_view path;
        bool isFolder;
        std::u16string_view entry;  // empty: not taken
        std::u16string_view shown;
    } cases[] = {
        {u"C:\\Photos", true, u"C:\\Photos\\", u"Folder: C:\\Photos\\"},
        {u"C:\\Trip.jpg", true, u"C:\\Trip.jpg\\", u"Folder: C:\\Trip.jpg\\"},  // named like a picture
        {u"D:\\", true, u"D:\\", u"Folder: D:\\"},
        {u"C:\\a.jpg", false, u"C:\\a.jpg", u"C:\\a.jpg"},
        {u"C:\\notes.txt", false, u"", u""},
    };
    for (const auto& c : cases) {
        const std::u16string entry = DroppedEntry(c.path, c.isFolder);
        EXPECT_EQ(entry, c.entry) << std::string(c.path.begin(), c.path.end());
        EXPECT_EQ(ListEntryText(entry, u"Folder:"), c.shown) << std::string(c.path.begin(), c.path.end());
    }
}

TEST(PictureListRules, ListShowsTheFirst21AndSelectsAboveARemoval) {
    EXPECT_EQ(VisibleEntryCount(0), 0u);
    EXPECT_EQ(VisibleEntryCount(20), 20u);
    EXPECT_EQ(VisibleEntryCount(21), 21u);
    EXPECT_EQ(VisibleEntryCount(25), 21u);

    const struct {
        int32_t removed;
        size_t remaining;
        int32_t selected;
    } cases[] = {
        {0, 4, 0},    // the first went: the new first
        {5, 9, 4},    // a middle one: the entry above it
        {-1, 3, 0},   // none selected: the first
        {-1, 0, -1},  // none selected in an empty list
        {0, 0, -1},   // the last one went
        {3, 3, 2},    // the last of four went
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SelectionAfterRemoval(c.removed, c.remaining), c.selected)
            << c.removed << " of " << c.remaining;
    }
}

TEST(PictureListRules, SettingsLineHoldsAPathOfAtMost2047BytesInEitherEncoding) {
    const struct {
        std::u16string path;
        size_t codePageBytes;
        bool fits;
    } cases[] = {
        {u"", 0, true},
        {std::u16string(2047, u'a'), 2047, true},
        {std::u16string(2048, u'a'), 2048, false},
        {std::u16string(1000, u'\u00e9'), 1000, true},   // 2,000 bytes in UTF-8
        {std::u16string(1100, u'\u00e9'), 1100, false},  // 2,200 bytes in UTF-8
        {std::u16string(682, u'\u65e5'), 1364, true},    // 2,046 bytes in UTF-8
        {std::u16string(683, u'\u65e5'), 1366, false},   // 2,049 bytes in UTF-8
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FitsSettingsLine(c.path, c.codePageBytes), c.fits) << c.path.size();
    }
    // A pair of surrogates is four bytes in UTF-8: 511 of them fit, 512 do not.
    std::u16string faces;
    for (int i = 0; i < 511; ++i) faces += u"\U0001F600";
    EXPECT_TRUE(FitsSettingsLine(faces, 0));
    faces += u"\U0001F600";
    EXPECT_FALSE(FitsSettingsLine(faces, 0));
}

}  // namespace
}  // namespace WorkSpace
