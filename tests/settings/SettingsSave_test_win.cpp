#include "settings/SettingsSave_win.h"

#include <gtest/gtest.h>

#include <string>

#include "support/TestFolder_win.h"

using namespace WorkSpace;
using WorkSpace::Testing::ReadBytes;
using WorkSpace::Testing::TestFolder;
using WorkSpace::Testing::WriteBytes;

namespace {

// The error a failing step leaves, unlike any the real calls around it set.
constexpr DWORD kStepError = ERROR_DISK_FULL;

enum class Step { None, CreateTemporary, OpenForRewrite, ReadAll, WriteAll, WriteHalf, CutToLength, Flush, Replace, Rename };

const char* Name(Step step) {
    static const char* const names[] = {"None",     "CreateTemporary", "OpenForRewrite", "ReadAll", "WriteAll",
                                        "WriteHalf", "CutToLength",     "Flush",          "Replace", "Rename"};
    return names[int(step)];
}

// The real operations, with one step made to fail the first time it runs, and
// optionally a folder that refuses every new file.
class FailingOps : public SettingsFileOps {
public:
    FailingOps(Step failing, bool folderRefusesNewFiles) : failing_(failing), refuses_(folderRefusesNewFiles) {}

    HANDLE CreateTemporary(const std::wstring& path) override {
        if (refuses_) {
            SetLastError(ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
        if (Fails(Step::CreateTemporary)) return INVALID_HANDLE_VALUE;
        return SettingsFileOps::CreateTemporary(path);
    }
    HANDLE OpenForRewrite(const std::wstring& path) override {
        return Fails(Step::OpenForRewrite) ? INVALID_HANDLE_VALUE : SettingsFileOps::OpenForRewrite(path);
    }
    bool ReadAll(HANDLE file, std::string& bytes) override {
        return !Fails(Step::ReadAll) && SettingsFileOps::ReadAll(file, bytes);
    }
    bool WriteAll(HANDLE file, std::string_view bytes) override {
        if (Fails(Step::WriteAll)) return false;
        // A disk that fills up half way: part of the new content is written.
        if (Fails(Step::WriteHalf)) {
            SettingsFileOps::WriteAll(file, bytes.substr(0, bytes.size() / 2));
            SetLastError(kStepError);
            return false;
        }
        return SettingsFileOps::WriteAll(file, bytes);
    }
    bool CutToLength(HANDLE file) override { return !Fails(Step::CutToLength) && SettingsFileOps::CutToLength(file); }
    bool Flush(HANDLE file) override { return !Fails(Step::Flush) && SettingsFileOps::Flush(file); }
    bool Replace(const std::wstring& target, const std::wstring& replacement) override {
        return !Fails(Step::Replace) && SettingsFileOps::Replace(target, replacement);
    }
    bool Rename(const std::wstring& from, const std::wstring& to) override {
        return !Fails(Step::Rename) && SettingsFileOps::Rename(from, to);
    }

    bool failed = false;

private:
    bool Fails(Step step) {
        if (step != failing_ || failed) return false;
        failed = true;
        SetLastError(kStepError);
        return true;
    }

    Step failing_;
    bool refuses_;
};

const std::string kOld = "#Picture Info _ begin\r\nC:\\old\\picture number one.jpg\r\n#Picture Info _ end\r\nSelectScheme 1\r\n";
const std::string kNew = "#Picture Info _ begin\r\nC:\\new.jpg\r\n#Picture Info _ end\r\nSelectScheme 4\r\n";

}  // namespace

TEST(SettingsSave, AnyBrokenStepKeepsTheOldFile) {
    struct Case { Step step; bool refuses; };
    const Case cases[] = {
        {Step::CreateTemporary, false}, {Step::WriteAll, false},  {Step::WriteHalf, false},
        {Step::CutToLength, false},     {Step::Flush, false},     {Step::Replace, false},
        {Step::OpenForRewrite, true},   {Step::ReadAll, true},    {Step::WriteAll, true},
        {Step::WriteHalf, true},        {Step::CutToLength, true}, {Step::Flush, true},
    };
    for (const Case& c : cases) {
        TestFolder folder;
        const std::wstring file = folder.File(L"s.settings");
        ASSERT_TRUE(WriteBytes(file, kOld));
        FailingOps ops(c.step, c.refuses);
        // A temporary file that cannot be made sends the save to the in-place
        // rewrite, which then succeeds.
        const bool expected = c.step == Step::CreateTemporary;
        EXPECT_EQ(WriteSettingsFile(file, kNew, ops), expected) << Name(c.step) << (c.refuses ? " in place" : "");
        EXPECT_TRUE(ops.failed) << Name(c.step);
        EXPECT_EQ(ReadBytes(file), expected ? kNew : kOld) << Name(c.step) << (c.refuses ? " in place" : "");
        EXPECT_EQ(folder.CountFiles(), 1) << Name(c.step);
    }
}

TEST(SettingsSave, SucceedsThroughEachPath) {
    struct Case { bool exists; bool refuses; bool saved; };
    const Case cases[] = {
        {true, false, true},    // temporary file swapped in with ReplaceFileW
        {false, false, true},   // first save: temporary file renamed
        {true, true, true},     // folder refuses new files: rewritten in place
        {false, true, false},   // neither a new file nor an old one to rewrite
    };
    for (const Case& c : cases) {
        TestFolder folder;
        const std::wstring file = folder.File(L"s.settings");
        if (c.exists) {
            ASSERT_TRUE(WriteBytes(file, kOld + kOld));  // longer than the new content
        }
        FailingOps ops(Step::None, c.refuses);
        EXPECT_EQ(WriteSettingsFile(file, kNew, ops), c.saved);
        EXPECT_EQ(ReadBytes(file), c.saved ? kNew : "<missing>");
        EXPECT_EQ(folder.CountFiles(), c.saved ? 1 : 0);
    }
}

TEST(SettingsSave, BrokenFirstSaveLeavesNoFile) {
    TestFolder folder;
    const std::wstring file = folder.File(L"s.settings");
    FailingOps ops(Step::Rename, false);
    EXPECT_FALSE(WriteSettingsFile(file, kNew, ops));
    EXPECT_EQ(folder.CountFiles(), 0);
}

// The user is told why the save failed: the thread's last error afterwards is
// the failing step's, not that of a check or clean-up made after it.
TEST(SettingsSave, AFailedSaveLeavesTheErrorOfTheStepThatFailed) {
    struct Case { Step step; bool refuses; bool exists; DWORD error; };
    const Case cases[] = {
        {Step::None, true, false, ERROR_ACCESS_DENIED},  // first save, folder refuses new files
        {Step::CreateTemporary, false, false, kStepError},
        {Step::WriteHalf, false, true, kStepError},
        {Step::Flush, false, false, kStepError},
        {Step::Replace, false, true, kStepError},
        {Step::Rename, false, false, kStepError},
        {Step::ReadAll, true, true, kStepError},
        {Step::WriteHalf, true, true, kStepError},
    };
    for (const Case& c : cases) {
        TestFolder folder;
        const std::wstring file = folder.File(L"s.settings");
        if (c.exists) {
            ASSERT_TRUE(WriteBytes(file, kOld));
        }
        FailingOps ops(c.step, c.refuses);
        SetLastError(ERROR_SUCCESS);
        EXPECT_FALSE(WriteSettingsFile(file, kNew, ops)) << Name(c.step);
        EXPECT_EQ(GetLastError(), c.error) << Name(c.step) << (c.refuses ? " in place" : "");
    }
    // An old file beyond the size limit is not rewritten in place, and the
    // error says that, not what a call before it left.
    TestFolder folder;
    const std::wstring file = folder.File(L"s.settings");
    HANDLE large = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(large, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end{};
    end.QuadPart = LONGLONG(kSettingsFileLimit) + 1;
    EXPECT_TRUE(SetFilePointerEx(large, end, nullptr, FILE_BEGIN) && SetEndOfFile(large));
    CloseHandle(large);
    FailingOps ops(Step::None, true);
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(WriteSettingsFile(file, kNew, ops));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_TOO_LARGE));
}
