#include "config/ChosenFiles.h"

#include <gtest/gtest.h>

namespace WorkSpace {
namespace {

using Paths = std::vector<std::u16string>;

// The dialog's returned text: each string zero-ended, then the empty string.
std::u16string Returned(std::initializer_list<std::u16string_view> strings) {
    std::u16string text;
    for (auto s : strings) {
        text += s;
        text += u'\0';
    }
    text += u'\0';
    text.resize(text.size() + 64, u'\0');  // the rest of the platform's buffer
    return text;
}

TEST(ParseChosenFiles, TurnsTheReturnedTextIntoFullPaths) {
    struct Case {
        const char* name;
        std::u16string buffer;
        Paths paths;
        std::u16string folderAfter;  // "<old>" where the folder must stay
    };
    const Case cases[] = {
        {"one file", Returned({u"C:\\Pics\\a.jpg"}), {u"C:\\Pics\\a.jpg"}, u"<old>"},
        {"three in a folder",
         Returned({u"C:\\Pics", u"a.jpg", u"b.png", u"c.bmp"}),
         {u"C:\\Pics\\a.jpg", u"C:\\Pics\\b.png", u"C:\\Pics\\c.bmp"},
         u"C:\\Pics\\"},
        {"folder ending in a backslash",
         Returned({u"C:\\", u"a.jpg", u"b.jpg"}),
         {u"C:\\\\a.jpg", u"C:\\\\b.jpg"},
         u"C:\\\\"},
        {"leading quote taken off, closing one kept",
         Returned({u"\"C:\\Pics", u"\"a.jpg\""}),
         {u"C:\\Pics\\a.jpg\""},
         u"C:\\Pics\\"},
        {"nothing returned", std::u16string(16, u'\0'), {}, u"<old>"},
        {"unterminated text reads to the end", u"C:\\x.jpg", {u"C:\\x.jpg"}, u"<old>"},
    };
    for (const auto& c : cases) {
        std::u16string folder = u"<old>";
        EXPECT_EQ(ParseChosenFiles(c.buffer, folder), c.paths) << c.name;
        EXPECT_EQ(folder, c.folderAfter) << c.name;
    }
}

TEST(ParseChosenFiles, KeepsEveryNameOfALongSelection) {
    // 300 names of 12 characters: the text runs far past 2,047 characters,
    // and no name may be lost on the way.
    std::u16string text = u"D:\\Holiday";
    text += u'\0';
    Paths expected;
    for (int i = 0; i < 300; ++i) {
        std::u16string name = u"photo" + std::u16string(3 - std::to_string(i).size(), u'0');
        for (char c : std::to_string(i)) name += char16_t(c);
        name += u".jpg";
        text += name;
        text += u'\0';
        expected.push_back(u"D:\\Holiday\\" + name);
    }
    text += u'\0';
    ASSERT_GT(text.size(), 2047u);
    std::u16string folder;
    EXPECT_EQ(ParseChosenFiles(text, folder), expected);
    EXPECT_EQ(folder, u"D:\\Holiday\\");
}

TEST(FileFilterText, EndsEachPartAndTheListWithAZero) {
    const std::u16string text = FileFilterText(u"Image Files", u"*.bmp;*.jpg");
    EXPECT_EQ(text, std::u16string(u"Image Files\0*.bmp;*.jpg\0\0", 25));
}

}  // namespace
}  // namespace WorkSpace
