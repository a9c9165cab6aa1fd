// The command line as Windows and users write it: modes that cannot run end at
// once with -1 and never show a window.
#include <gtest/gtest.h>

#include <string>

#include "e2e/driver/Driver.h"

namespace {

// The handle of a window that no longer exists, as decimal text. (A small
// number such as 123 can name a real window under Wine.)
std::wstring GoneWindowHandle() {
    HWND window = CreateWindowExW(0, L"STATIC", L"gone", 0, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    DestroyWindow(window);
    return std::to_wstring(static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)));
}

}  // namespace

TEST(CommandLine, UnknownSwitchesExitWithMinusOneAndNoWindow) {
    const std::wstring notAWindow = L"/p " + GoneWindowHandle();
    for (const wchar_t* arguments : {L"/x", L"q", L"/p", notAWindow.c_str(), L"/p:1234"}) {
        e2e::Process saver;
        ASSERT_TRUE(saver.Start(e2e::SaverPath(), arguments));
        const auto code = saver.WaitForExit(30000);  // Wine starts slowly on a busy machine
        ASSERT_TRUE(code.has_value()) << "still running after " << arguments;
        EXPECT_EQ(*code, 0xFFFFFFFFu) << arguments;
        EXPECT_TRUE(e2e::WindowsOf(saver.Id()).empty());
    }
}
