// The Windows 9x family, as Wine emulates it: the saver asks the platform's
// password library before it closes, and "a" opens the platform's
// change-password dialog. Wine has neither library, so the scenarios put
// stand-ins beside a private copy of the saver and read what they were asked.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/driver/Driver.h"
#include "e2e/driver/SaverWindows.h"

namespace {

// Lines the stand-ins wrote to calls.txt in the saver's folder.
std::vector<std::wstring> Calls(const e2e::SaverFolder& folder) {
    std::vector<std::wstring> lines;
    HANDLE file = CreateFileW((folder.Path() + L"calls.txt").c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lines;
    std::wstring text(GetFileSize(file, nullptr) / sizeof(wchar_t), L'\0');
    DWORD read = 0;
    ReadFile(file, text.data(), DWORD(text.size() * sizeof(wchar_t)), &read, nullptr);
    CloseHandle(file);
    size_t start = 0;
    for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

// The platform that the saver starts on reports itself as Windows 98.
struct Windows98 {
    e2e::ScopedRegistryValue version{HKEY_CURRENT_USER, L"Software\\Wine", L"Version",
                                     std::wstring(L"win98")};
};

}  // namespace

TEST(Windows9x, RefusedPasswordKeepsTheSaverAndMeasuresTheMouseAfresh) {
    Windows98 platform;
    e2e::ScopedRegistryValue usePassword(HKEY_CURRENT_USER, L"Control Panel\\Desktop",
                                         L"ScreenSaveUsePassword", 1);
    e2e::SaverFolder folder(false);
    ASSERT_TRUE(folder.AddFromBin(L"standins\\PASSWORD.CPL", L"PASSWORD.CPL"));
    e2e::Process saver;
    HWND window = e2e::StartFullScreenSaver(saver, folder.Saver(), L"/s", 500, 400);
    ASSERT_TRUE(window);
    e2e::PumpFor(300);

    // The first close is refused: the saver stays.
    e2e::MoveMouse(window, 510, 400);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !Calls(folder).empty(); }, 5000));
    // The stand-in logs before it answers: the saver then takes the cursor as
    // its new anchor, which must happen before the cursor moves on.
    e2e::PumpFor(300);
    EXPECT_TRUE(saver.IsRunning());
    ASSERT_EQ(Calls(folder), std::vector<std::wstring>{L"verify refused"});

    // Travel now counts from where the cursor was at the refusal.
    e2e::MoveMouse(window, 513, 401);
    e2e::PumpFor(300);
    EXPECT_TRUE(saver.IsRunning());
    EXPECT_EQ(Calls(folder).size(), 1u);

    // A later close asks again and is granted.
    e2e::MoveMouse(window, 513, 402);
    const auto code = saver.WaitForExit(e2e::kSaverExitMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(Calls(folder), (std::vector<std::wstring>{L"verify refused", L"verify accepted"}));
}

TEST(Windows9x, ChangePasswordAsksThePlatformForTheSaverProvider) {
    Windows98 platform;
    e2e::SaverFolder folder(false);
    ASSERT_TRUE(folder.AddFromBin(L"standins\\MPR.DLL", L"MPR.DLL"));
    // Wine has its own MPR.DLL; the one beside the saver is to be taken first.
    e2e::ScopedRegistryValue nativeFirst(HKEY_CURRENT_USER,
                                         L"Software\\Wine\\AppDefaults\\Veltrano.scr\\DllOverrides",
                                         L"mpr", std::wstring(L"native,builtin"));
    e2e::HostWindow host(320, 240);
    SetForegroundWindow(host.Get());
    e2e::WaitUntilForeground(host.Get(), 5000);

    e2e::Process saver;
    const std::wstring handle = std::to_wstring(reinterpret_cast<uintptr_t>(host.Get()));
    ASSERT_TRUE(saver.Start(folder.Saver(), L"/a " + handle));
    const auto code = saver.WaitForExit(e2e::kSaverExitMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(Calls(folder), std::vector<std::wstring>{L"change SCRSAVE " + handle + L" 0 0"});
}

TEST(Windows9x, ChangePasswordWithoutTheStandInEndsWithZero) {
    Windows98 platform;
    e2e::SaverFolder folder(false);
    e2e::Process saver;
    ASSERT_TRUE(saver.Start(folder.Saver(), L"/a"));
    const auto code = saver.WaitForExit(e2e::kSaverExitMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_TRUE(e2e::WindowsOf(saver.Id()).empty());
}
