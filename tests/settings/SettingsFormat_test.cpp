#include "settings/SettingsFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace WorkSpace;
using namespace std::string_literals;

namespace {

// Latin-1 stands in for the ANSI code page: one byte, one code unit.
std::u16string Latin1(std::string_view bytes) {
    std::u16string text;
    for (unsigned char c : bytes) text.push_back(char16_t(c));
    return text;
}

ParsedSettings Parse(std::string_view bytes) { return ParseSettings(bytes, Latin1); }

}  // namespace

TEST(SettingsFormat, PicturesBetweenTheMarkers) {
    struct Case { std::string file; std::vector<std::u16string> pictures; };
    const Case cases[] = {
        {"", {}},
        {"#Picture Info _ begin\r\n#Picture Info _ end\r\nSelectScheme 0\r\n", {}},
        {"#Picture Info _ begin\r\nC:\\a.jpg\r\nD:\\b c.png\r\n#Picture Info _ end\r\nSelectScheme 3\r\n",
         {u"C:\\a.jpg", u"D:\\b c.png"}},
        {"#Picture Info _ begin\nC:\\a.jpg\n#Picture Info _ end\n", {u"C:\\a.jpg"}},           // bare LF
        {"above.jpg\r\n#Picture Info _ begin\r\nx\r\n#Picture Info _ end\r\n", {u"above.jpg", u"x"}},
        {"#Picture Info _ begin\r\n#Picture Info _ begin\r\nx\r\n", {u"x"}},                   // second begin
        {"#Picture Info _ begin\r\n\r\nx\r\n x \r\n", {u"", u"x", u" x "}},                   // empty lines are paths
        {" #Picture Info _ end\r\nx\r\n", {u" #Picture Info _ end", u"x"}},                    // marker with a blank
        {"#Picture Info _ end\r\nC:\\after.jpg\r\n", {}},                                     // after the end: a key
        {"a\rb\r\n", {u"a\rb"}},                                                              // lone CR stays
        {"a%s%n.jpg\r\n", {u"a%s%n.jpg"}},
        {"a\r\nb\x1A" "c\r\n", {u"a", u"b"}},                                                 // Ctrl-Z ends the text
        {"a\0b\r\nc"s, {u"a", u"c"}},                                                       // NUL ends its line
        {"\xEF\xBB\xBFx\r\n", {u"x"}},                                                       // the mark is no text
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Parse(c.file).pictures, c.pictures) << c.file;
    }
}

TEST(SettingsFormat, LongLinesArriveInPieces) {
    const std::string line3000(3000, 'x');
    const ParsedSettings parsed = Parse(line3000 + "\r\n#Picture Info _ end\r\n");
    ASSERT_EQ(parsed.pictures.size(), 2u);
    EXPECT_EQ(parsed.pictures[0].size(), 2047u);
    EXPECT_EQ(parsed.pictures[1].size(), 953u);

    // A line that fills the buffer exactly keeps its line break.
    const ParsedSettings exact = Parse(std::string(2047, 'y') + "\r\nz\r\n");
    ASSERT_EQ(exact.pictures.size(), 2u);
    EXPECT_EQ(exact.pictures[0].size(), 2047u);
    EXPECT_EQ(exact.pictures[1], u"z");
}

TEST(SettingsFormat, ValueLines) {
    struct Case { std::u16string line; bool taken; std::u16string key; int32_t value; };
    const Case cases[] = {
        {u"SelectScheme 2", true, u"SelectScheme", 2},
        {u"SelectScheme", false, u"", 0},
        {u"SelectScheme ", false, u"", 0},
        {u"SelectScheme    ", false, u"", 0},
        {u"SelectScheme 2 more text", true, u"SelectScheme", 2},
        {u"SelectScheme abc", true, u"SelectScheme", 0},
        {u"SelectScheme -1", true, u"SelectScheme", -1},
        {u"SelectScheme   +7x", true, u"SelectScheme", 7},
        {u"SelectScheme \t4", true, u"SelectScheme", 4},
        {u"   SelectScheme 1", true, u"SelectScheme", 1},
        {u"SelectScheme 99999999999", true, u"SelectScheme", 2147483647},
        {u"SelectScheme -99999999999", true, u"SelectScheme", -2147483647 - 1},
        {u"SelectScheme\t3", false, u"", 0},  // a tab does not end the key
        {u"", false, u"", 0},
        {u"   ", false, u"", 0},
    };
    for (const Case& c : cases) {
        std::u16string key;
        int32_t value = 0;
        ASSERT_EQ(ParseValueLine(c.line, key, value), c.taken) << std::string(c.line.begin(), c.line.end());
        if (!c.taken) continue;
        EXPECT_EQ(key, c.key);
        EXPECT_EQ(value, c.value) << std::string(c.line.begin(), c.line.end());
    }
}

TEST(SettingsFormat, ValuesAfterTheEndMarkerInOrder) {
    const ParsedSettings parsed =
        Parse("x\r\n#Picture Info _ end\r\n\r\n  \r\nselectscheme 4\r\nC:\\p.jpg\r\nSelectScheme 1\r\nSelectScheme 3\r\n");
    const std::vector<std::pair<std::u16string, int32_t>> expected{
        {u"selectscheme", 4}, {u"SelectScheme", 1}, {u"SelectScheme", 3}};
    EXPECT_EQ(parsed.values, expected);
}

TEST(SettingsFormat, ComposeAndParseAgree) {
    const std::vector<std::string> paths{"C:\\a.jpg", "", "D:\\%d%s\\b.png", "C:\\x\\\\default_1.jpg"};
    const std::string file = ComposeSettings(paths, -1, false);
    EXPECT_EQ(ComposeSettings({}, 0, false), "#Picture Info _ begin\r\n#Picture Info _ end\r\nSelectScheme 0\r\n");
    EXPECT_EQ(ComposeSettings({}, 2, true).substr(0, 3), "\xEF\xBB\xBF");

    const ParsedSettings parsed = Parse(file);
    ASSERT_EQ(parsed.pictures.size(), paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) EXPECT_EQ(parsed.pictures[i], Latin1(paths[i]));
    ASSERT_EQ(parsed.values.size(), 1u);
    EXPECT_EQ(parsed.values[0].second, -1);
}
