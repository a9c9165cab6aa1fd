#include "settings/Paths_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

using namespace WorkSpace;

namespace {

constexpr const wchar_t* kTestKey = L"SOFTWARE\\Korimba\\ScreenSaver\\VeltranoTest\\";

// A key under HKEY_LOCAL_MACHINE of the test's own, deleted at the end.
class TestKey {
public:
    TestKey() { RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr); }
    ~TestKey() {
        RegCloseKey(key_);
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Korimba\\ScreenSaver\\VeltranoTest");
    }
    void Set(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data), size);
    }

private:
    HKEY key_ = nullptr;
};

}  // namespace

TEST(Paths, ReadRegistryDwordTakesFourBytesOfAnyType) {
    TestKey key;
    const DWORD five = 5;
    const DWORD negative = DWORD(-1);
    const uint64_t wide = 1;
    const BYTE two[2] = {0x02, 0x01};
    key.Set(L"Dword", REG_DWORD, &five, 4);
    key.Set(L"Negative", REG_DWORD, &negative, 4);
    key.Set(L"Text", REG_SZ, L"1", 4);  // "1" and its terminator: four bytes
    key.Set(L"Long", REG_QWORD, &wide, 8);
    key.Set(L"Short", REG_BINARY, two, 2);
    struct Case { const wchar_t* name; bool read; uint32_t value; };
    const Case cases[] = {
        {L"Dword", true, 5}, {L"Negative", true, 0xFFFFFFFFu}, {L"Text", true, 0x31},
        {L"Long", false, 0}, {L"Short", true, 0x0102},         {L"Missing", false, 0},
    };
    for (const Case& c : cases) {
        uint32_t value = 0;
        EXPECT_EQ(ReadRegistryDword(kTestKey, c.name, value), c.read);
        if (c.read) {
            EXPECT_EQ(value, c.value);
        }
    }
    uint32_t value = 0;
    EXPECT_FALSE(ReadRegistryDword(L"SOFTWARE\\Korimba\\NoSuchKey\\", L"Dword", value));
}

TEST(Paths, SettingsPathIsAbsoluteAndFixed) {
    const std::wstring path = SettingsFilePath();
    ASSERT_GE(path.size(), 3u);
    EXPECT_EQ(path[1], L':');
    EXPECT_EQ(path.substr(path.size() - 31), L"veltrano_win_tests.scr.settings");
    wchar_t old[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, old);
    SetCurrentDirectoryW(L"C:\\");
    EXPECT_EQ(SettingsFilePath(), path);
    SetCurrentDirectoryW(old);

    const std::wstring folder = ModuleDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    EXPECT_EQ(path.substr(0, folder.size()), folder);
}
