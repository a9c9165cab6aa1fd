#include "settings/TextStorage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using WorkSpace::Translate::TextStorage;

namespace {

std::vector<std::u16string> Texts(const TextStorage& table) {
    std::vector<std::u16string> texts;
    for (std::size_t i = 0; i < table.Count(); ++i) texts.push_back(table.GetText(int32_t(i)));
    return texts;
}

}  // namespace

TEST(TextStorage, ParseRules) {
    struct Case { std::u16string file; std::vector<std::u16string> texts; };
    const Case cases[] = {
        {u"\uFEFFA\r\nB\r\n", {u"A", u"B"}},
        {u"A\r\nB\r\n", {u"", u"B"}},                        // no mark: the first letter is skipped
        {u"Cancel\r\nPreview\r\n", {u"ancel", u"Preview"}},
        {u"\uFEFFA\r\nB", {u"A"}},                           // last line without CR LF is dropped
        {u"\uFEFFA\r\nB\r", {u"A"}},
        {u"\uFEFFa;b, \"c\"\r\n", {u"a;b, \"c\""}},          // no columns, no quoting
        {u"\uFEFF\r\n\r\nC\r\n", {u"", u"", u"C"}},          // empty lines keep the numbering
        {u"\uFEFFA\nB\r\n", {u"AB"}},                        // a lone LF is dropped
        {u"\uFEFFA\rB\r\n", {u"A\rB"}},                      // a lone CR stays
        {u"\uFEFFA\r\r\nB\r\n", {u"A\r", u"B"}},
        {u"\uFEFF\u041E\u043A\r\n\u65E5\u672C\r\n", {u"\u041E\u043A", u"\u65E5\u672C"}},
    };
    for (const Case& c : cases) {
        TextStorage table;
        table.Parse(c.file);
        EXPECT_EQ(Texts(table), c.texts) << std::string(c.file.begin(), c.file.end());
    }
}

TEST(TextStorage, NoCompleteLineGivesTheBuiltInTexts) {
    for (const std::u16string file : {u"", u"\uFEFF", u"\uFEFF\r", u"\r\n", u"\uFEFFno line end"}) {
        TextStorage table;
        table.Parse(file);
        EXPECT_EQ(table.Count(), WorkSpace::Translate::kBuiltInTextCount);
        EXPECT_EQ(table.GetText(1), u"Cancel");
    }
}

TEST(TextStorage, BuiltInTexts) {
    TextStorage table;
    EXPECT_EQ(table.GetText(0), u"");  // nothing loaded yet
    table.LoadDefaults();
    ASSERT_EQ(table.Count(), 56u);
    EXPECT_EQ(table.GetText(0), u"\u041Ek");
    EXPECT_EQ(table.GetText(9), table.GetText(22));
    const std::pair<int32_t, std::u16string> shown[] = {
        {1, u"Cancel"}, {2, u"Preview"}, {3, u"Remove"}, {4, u"Remove All"}, {6, u"Select Scheme"},
        {7, u"Files"}, {18, u"Add"}, {25, u"Veltrano Screen Saver"}, {27, u"Rotation"}, {28, u"Falling"},
        {29, u"Approach"}, {30, u"Motion"}, {31, u"Fall Rotation"},
        {52, u"Add your images or photos here."},
        {53, u"Click Add or just drag and drop files to this window."},
        {54, u"Add Folder\u2026"}, {55, u"Folder:"}, {56, u""}, {-1, u""}, {1000, u""},
    };
    for (const auto& [number, text] : shown) EXPECT_EQ(table.GetText(number), text) << number;
    for (int32_t number = 0; number < 56; ++number) EXPECT_FALSE(table.GetText(number).empty()) << number;
}

TEST(TextStorage, LaterLoadingsChangeNoLookup) {
    TextStorage table;
    table.Parse(u"\uFEFFErste\r\nZweite\r\n");
    table.LoadDefaults();
    table.Parse(u"\uFEFFPremier\r\n");
    EXPECT_EQ(table.GetText(0), u"Erste");
    EXPECT_EQ(table.GetText(1), u"Zweite");
    EXPECT_EQ(table.GetText(2), u"\u041Ek");
    EXPECT_EQ(table.Count(), 2u + WorkSpace::Translate::kBuiltInTextCount + 1u);
}
