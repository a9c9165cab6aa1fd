// The command line as Windows and users write it: modes that cannot run end at
// once with -1 and never show a window.
#include <gtest/gtest.h>

#include "e2e/driver/Driver.h"

TEST(CommandLine, UnknownSwitchesExitWithMinusOneAndNoWindow) {
    for (const wchar_t* arguments : {L"/x", L"q", L"/p", L"/p 123", L"/p:1234"}) {
        e2e::Process saver;
        ASSERT_TRUE(saver.Start(e2e::SaverPath(), arguments));
        const auto code = saver.WaitForExit(10000);
        ASSERT_TRUE(code.has_value()) << "still running after " << arguments;
        EXPECT_EQ(*code, 0xFFFFFFFFu) << arguments;
        EXPECT_TRUE(e2e::WindowsOf(saver.Id()).empty());
    }
}
