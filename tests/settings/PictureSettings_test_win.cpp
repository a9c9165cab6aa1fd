#include "settings/PictureSettings_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "settings/Paths_win.h"
#include "settings/TestFolder_win.h"

using namespace WorkSpace;
using WorkSpace::Testing::ReadBytes;
using WorkSpace::Testing::TestFolder;
using WorkSpace::Testing::WriteBytes;

namespace {

constexpr LCID kRussian = 0x0419;   // ANSI code page 1251
constexpr LCID kJapanese = 0x0411;  // ANSI code page 932

// Runs the test body under another thread locale, so that the ANSI code page
// of the settings file is not the English one.
class ThreadLocale {
public:
    explicit ThreadLocale(LCID locale) : old_(GetThreadLocale()) { SetThreadLocale(locale); }
    ~ThreadLocale() { SetThreadLocale(old_); }

private:
    LCID old_;
};

std::vector<std::wstring> Defaults() {
    const std::wstring folder = ModuleDirectory();
    return {folder + L"\\default_1.jpg", folder + L"\\default_2.jpg", folder + L"\\default_3.jpg"};
}

}  // namespace

TEST(PictureSettings, SaveThenLoadGivesTheSameRecord) {
    TestFolder folder;
    const std::wstring file = folder.File(L"Example.scr.settings");
    PictureSettings saved;
    saved.Load(file);
    saved.pictures = {L"C:\\a.jpg", L"", L"C:\\x\\%s%d.jpg", L"C:\\a.jpg", L"  C:\\blank.png "};
    saved.SetValue(L"SelectScheme", -1);
    ASSERT_TRUE(saved.Save(file));
    EXPECT_EQ(ReadBytes(file),
              "#Picture Info _ begin\r\nC:\\a.jpg\r\n\r\nC:\\x\\%s%d.jpg\r\nC:\\a.jpg\r\n  C:\\blank.png \r\n"
              "#Picture Info _ end\r\nSelectScheme -1\r\n");

    PictureSettings loaded;
    loaded.Load(file);
    EXPECT_EQ(loaded.pictures, saved.pictures);
    EXPECT_EQ(loaded.values, saved.values);
    EXPECT_EQ(folder.CountFiles(), 1);  // no temporary file left behind
}

TEST(PictureSettings, TenThousandPathsAndGarbage) {
    TestFolder folder;
    const std::wstring file = folder.File(L"s.settings");
    PictureSettings many;
    many.values = {{L"SelectScheme", 77}};  // out of range: stored as it is
    for (int i = 0; i < 10000; ++i) many.pictures.push_back(L"C:\\Pictures\\" + std::to_wstring(i) + L".jpg");
    ASSERT_TRUE(many.Save(file));
    PictureSettings loaded;
    loaded.Load(file);
    EXPECT_EQ(loaded.pictures, many.pictures);
    EXPECT_EQ(loaded.ValueOf(L"SelectScheme"), 77);

    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage.push_back(char((i * 7919) >> 3));
    ASSERT_TRUE(WriteBytes(file, garbage));
    PictureSettings fromGarbage;
    EXPECT_TRUE(fromGarbage.Load(file));
    EXPECT_FALSE(fromGarbage.pictures.empty());
    EXPECT_EQ(fromGarbage.values.size(), 1u);
}

TEST(PictureSettings, NoPictureGivesTheDefaults) {
    TestFolder folder;
    struct Case { const char* file; int32_t scheme; };
    const Case cases[] = {
        {nullptr, 0},  // no file
        {"", 0},
        {"#Picture Info _ begin\r\n#Picture Info _ end\r\nSelectScheme 4\r\n", 4},
        {"#Picture Info _ end\r\nC:\\after.jpg\r\nselectscheme 2\r\n", 0},
    };
    for (const Case& c : cases) {
        const std::wstring file = folder.File(L"s.settings");
        DeleteFileW(file.c_str());
        if (c.file) {
            ASSERT_TRUE(WriteBytes(file, c.file));
        }
        PictureSettings settings;
        settings.pictures = {L"stale"};
        EXPECT_TRUE(settings.Load(file));
        EXPECT_EQ(settings.pictures, Defaults()) << (c.file ? c.file : "<none>");
        EXPECT_EQ(settings.values, (std::vector<std::pair<std::wstring, int32_t>>{{L"SelectScheme", c.scheme}}));
    }
    // The doubled backslash is kept as it always was.
    EXPECT_NE(Defaults()[0].find(L"\\\\default_1.jpg"), std::wstring::npos);
}

TEST(PictureSettings, EmptyRecordWritesMarkersOnly) {
    TestFolder folder;
    PictureSettings empty;
    empty.values = {{L"SelectScheme", 2}};
    ASSERT_TRUE(empty.Save(folder.File(L"s.settings")));
    EXPECT_EQ(ReadBytes(folder.File(L"s.settings")), "#Picture Info _ begin\r\n#Picture Info _ end\r\nSelectScheme 2\r\n");
}

TEST(PictureSettings, RecordAccessors) {
    PictureSettings settings;
    settings.pictures = {L"a", L"b"};
    settings.values = {{L"SelectScheme", 1}};
    settings.SetValue(L"selectscheme", 4);  // keys are case-sensitive; nothing is added
    settings.SetValue(L"Other", 4);
    settings.SetValue(L"SelectScheme", 3);
    EXPECT_EQ(settings.values, (std::vector<std::pair<std::wstring, int32_t>>{{L"SelectScheme", 3}}));
    EXPECT_EQ(settings.ValueOf(L"Other"), 0);
}

TEST(PictureSettings, NonEnglishCodePage) {
    TestFolder folder;
    const std::wstring file = folder.File(L"s.settings");
    {
        ThreadLocale russian(kRussian);
        ASSERT_TRUE(WriteBytes(file, "#Picture Info _ begin\r\nC:\\\xC6\xE8\xE2\xEE\xE9.jpg\r\n#Picture Info _ end\r\n"));
        PictureSettings settings;
        settings.Load(file);
        ASSERT_EQ(settings.pictures.size(), 1u);
        EXPECT_EQ(settings.pictures[0], L"C:\\\x0416\x0438\x0432\x043E\x0439.jpg");  // "Живой" in code page 1251
        ASSERT_TRUE(settings.Save(file));
        EXPECT_EQ(ReadBytes(file).substr(0, 37), "#Picture Info _ begin\r\nC:\\\xC6\xE8\xE2\xEE\xE9.jpg\r\n");
    }
    {
        ThreadLocale japanese(kJapanese);
        PictureSettings settings;
        settings.Load(file);  // the same bytes read in code page 932 are other characters
        ASSERT_EQ(settings.pictures.size(), 1u);
        EXPECT_NE(settings.pictures[0], L"C:\\\x0416\x0438\x0432\x043E\x0439.jpg");
        settings.pictures = {L"D:\\\x65E5\x672C.jpg"};  // "日本"
        ASSERT_TRUE(settings.Save(file));
        EXPECT_EQ(ReadBytes(file).substr(23, 8), "D:\\\x93\xFA\x96\x7B.");  // Shift-JIS, no mark
        PictureSettings again;
        again.Load(file);
        EXPECT_EQ(again.pictures, settings.pictures);
    }
}

TEST(PictureSettings, PathsOutsideTheCodePageAreWrittenAsUtf8) {
    TestFolder folder;
    const std::wstring file = folder.File(L"s.settings");
    ThreadLocale russian(kRussian);
    PictureSettings settings;
    settings.Load(file);
    settings.pictures = {L"C:\\\x0416.jpg", L"C:\\\x65E5\x672C\\\x00E9t\x00E9.jpg", L"C:\\plain.jpg"};
    ASSERT_TRUE(settings.Save(file));
    const std::string bytes = ReadBytes(file);
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(bytes.find("C:\\\xD0\x96.jpg\r\n"), std::string::npos);
    PictureSettings loaded;
    loaded.Load(file);
    EXPECT_EQ(loaded.pictures, settings.pictures);
}

TEST(PictureSettings, ReadersKeepReadingWhileTheFileIsReplaced) {
    TestFolder folder;
    const std::wstring file = folder.File(L"s.settings");
    ASSERT_TRUE(WriteBytes(file, "old\r\n"));
    HANDLE reader = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    PictureSettings settings;
    settings.pictures = {L"new.jpg"};
    settings.values = {{L"SelectScheme", 1}};
    EXPECT_TRUE(settings.Save(file));
    char old[5] = {};
    DWORD got = 0;
    EXPECT_TRUE(ReadFile(reader, old, 5, &got, nullptr));
    EXPECT_EQ(std::string(old, got), "old\r\n");
    CloseHandle(reader);
    PictureSettings loaded;
    loaded.Load(file);
    EXPECT_EQ(loaded.pictures, settings.pictures);
}
