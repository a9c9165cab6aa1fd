#include "host/Switches.h"

#include <gtest/gtest.h>

#include <string>

using namespace WorkSpace;

TEST(Switches, FirstLetterDecidesTheRunMode) {
    struct Case { std::u16string text; RunMode mode; uint32_t handle; };
    const Case cases[] = {
        {u"", RunMode::ConfigureAlone, 0},
        {u"/s", RunMode::Save, 0},
        {u"-S", RunMode::Save, 0},
        {u" /s", RunMode::Save, 0},
        {u"s /p 1234", RunMode::Save, 0},
        {u"/p 1234", RunMode::Preview, 1234},
        {u"/P   77", RunMode::Preview, 77},
        {u"/l 1234", RunMode::Preview, 1234},
        {u"/p", RunMode::Preview, 0},
        {u"/p:1234", RunMode::Preview, 0},   // a colon is not a blank
        {u"/c:5678", RunMode::Configure, 5678},
        {u"/c 1234", RunMode::Configure, 0}, // a blank is not a colon
        {u"/c", RunMode::Configure, 0},
        {u"/c:0", RunMode::Configure, 0},
        {u"/a 42", RunMode::ChangePassword, 42},
        {u"/x", RunMode::Invalid, 0},
        {u"q", RunMode::Invalid, 0},
        {u"//--  ", RunMode::ConfigureAlone, 0},
        {std::u16string(u"\0/s", 3), RunMode::ConfigureAlone, 0},
    };
    for (const Case& c : cases) {
        const SwitchChoice choice = ParseSwitches(c.text);
        EXPECT_EQ(choice.mode, c.mode) << std::string(c.text.begin(), c.text.end());
        EXPECT_EQ(choice.windowHandle, c.handle) << std::string(c.text.begin(), c.text.end());
    }
}

TEST(Switches, WindowHandleWrapsAt32Bits) {
    EXPECT_EQ(ParseWindowHandle(u""), 0u);
    EXPECT_EQ(ParseWindowHandle(u"x12"), 0u);
    EXPECT_EQ(ParseWindowHandle(u"0012ab"), 12u);
    EXPECT_EQ(ParseWindowHandle(u"4294967295"), 4294967295u);
    EXPECT_EQ(ParseWindowHandle(u"4294967296"), 0u);
    EXPECT_EQ(ParseWindowHandle(u"4294967297"), 1u);
}

TEST(Switches, ProgramNameIsSkippedQuotedOrNot) {
    struct Case { std::u16string line; std::u16string rest; };
    const Case cases[] = {
        {u"C:\\Savers\\Veltrano.scr /s", u"/s"},
        {u"\"C:\\My Savers\\Veltrano.scr\" /p 12", u"/p 12"},
        {u"\"C:\\My Savers\\Veltrano.scr\"/c", u"/c"},
        {u"\"C:\\unterminated /s", u""},
        {u"Veltrano.scr", u""},
        {u"Veltrano.scr \t \x01/S", u"/S"},
        {u"", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.line.substr(SkipProgramName(c.line)), c.rest)
            << std::string(c.line.begin(), c.line.end());
    }
}
