#include "settings/Paths.h"

#include <gtest/gtest.h>

#include <string>

using namespace WorkSpace;

namespace {
std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }
}  // namespace

TEST(Paths, SettingsPathFromProgramName) {
    struct Case { std::u16string name; std::u16string path; };
    const Case cases[] = {
        {u"C:\\Savers\\Example.scr", u"C:\\Savers\\Example.scr.settings"},
        {u"\"C:\\Savers\\Example.scr\"", u"C:\\Savers\\Example.scr.settings"},
        {u"  C:\\Savers\\Example.scr \t", u"C:\\Savers\\Example.scr.settings"},
        {u" \"C:\\My Savers\\Example.scr\" ", u"C:\\My Savers\\Example.scr.settings"},
        {u"C:\\SAVERS\\EXAMPLE.SCR", u"C:\\SAVERS\\EXAMPLE.scr.settings"},
        {u"Example.scr", u"Example.scr.settings"},
        {u"abc", u"scr.settings"},
        {u"ab", u""},          // too short to cut
        {u"", u""},
        {u"   ", u""},
        {u"\"", u""},
        {u"\"ab\"", u""},
    };
    for (const Case& c : cases) EXPECT_EQ(SettingsPathFromProgramName(c.name), c.path) << Narrow(c.name);
}

TEST(Paths, DirectoryAndAbsoluteness) {
    struct Case { std::u16string path; std::u16string folder; bool absolute; };
    const Case cases[] = {
        {u"C:\\Savers\\Example.scr", u"C:\\Savers\\", true},
        {u"C:\\Example.scr", u"C:\\", true},
        {u"C:/Savers/Example.scr", u"C:/Savers/", true},
        {u"\\\\server\\share\\Example.scr", u"\\\\server\\share\\", true},
        {u"C:Example.scr", u"C:", false},
        {u"\\Savers\\Example.scr", u"\\Savers\\", false},
        {u"Example.scr", u"", false},
        {u"", u"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DirectoryOf(c.path), c.folder) << Narrow(c.path);
        EXPECT_EQ(IsAbsolutePath(c.path), c.absolute) << Narrow(c.path);
    }
}
