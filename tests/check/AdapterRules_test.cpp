#include "check/AdapterRules.h"

#include <gtest/gtest.h>

#include <string>

using namespace WorkSpace;

namespace {

std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

// ASCII upper-casing stands in for the platform's locale rules here.
std::u16string Upper(std::u16string_view text) {
    std::u16string upper(text);
    for (char16_t& c : upper) {
        if (c >= u'a' && c <= u'z') c = char16_t(c - u'a' + u'A');
    }
    return upper;
}

}  // namespace

TEST(AdapterRules, DescriptionsOfRejectedModels) {
    struct Case { std::u16string description; bool rejected; };
    const Case cases[] = {
        {u"RADEON 9600 SERIES", true},
        {u"Radeon 9600", true},          // upper-cased before the model test
        {u"RADEON X800", false},         // not a listed model
        {u"9000 RADEON", true},          // the model may stand anywhere
        {u"Example 9600 Graphics", false},
        {u"RADEON X10000", true},        // substring of the text: X1000
        {u"ATI Radeon X1550 Series", true},
        {u"Radeon 9650", true},
        {u"radeon x300", true},
        {u"Example MX 64", true},
        {u"Example mx", true},
        {u"Example 440", true},
        {u"Example Mx 2", false},        // neither MX nor mx
        {u"Wine Adapter", false},
        {u"", false},
        {u"GeForce4 MX 440", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DescriptionRejects(c.description, Upper(c.description)), c.rejected)
            << Narrow(c.description);
    }
}

TEST(AdapterRules, MarksAreTestedInTheReportedTextNotTheUpperCasedOne) {
    // The platform upper-cases "mx" to "MX"; only the reported text counts.
    EXPECT_FALSE(DescriptionRejects(u"Example Mx", u"EXAMPLE MX"));
    EXPECT_TRUE(DescriptionRejects(u"Radeon 9600", u"RADEON 9600"));
    EXPECT_FALSE(DescriptionRejects(u"Radeon 9600", u"Radeon 9600"));
}

TEST(AdapterRules, KeyPathIsTrimmedByCharacterSet) {
    struct Case { std::u16string key; std::u16string path; };
    const Case cases[] = {
        {u"\\Registry\\Machine\\System\\Video\\0000", u"System\\Video\\0000"},
        {u"\\Registry\\Machine\\System\\CurrentControlSet\\Control\\Video\\{6A1B}\\0000",
         u"System\\CurrentControlSet\\Control\\Video\\{6A1B}\\0000"},
        // Lower-case system: its s, y, s, t, e are in the set as well.
        {u"\\Registry\\Machine\\system\\Video\\0000", u"m\\Video\\0000"},
        // Trailing characters of the set go too.
        {u"\\Registry\\Machine\\System\\Video\\Machine\\", u"System\\Video"},
        {u"\\Registry\\Machine\\", u""},
        {u"", u""},
        {u"Other\\0001", u"Other\\0001"},
    };
    for (const Case& c : cases) EXPECT_EQ(TrimKeyPath(c.key), c.path) << Narrow(c.key);
}
