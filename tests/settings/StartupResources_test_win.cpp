#include "settings/StartupResources_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "resources/MemoryArchive.h"
#include "resources/PackageMembers.h"
#include "resources/ZipBuilder.h"
#include "resources/ZipReader.h"
#include "settings/Paths_win.h"
#include "settings/TextStorage.h"

using namespace WorkSpace;
using WorkSpace::Testing::MemoryArchive;
using WorkSpace::Testing::ZipBuilder;
using WorkSpace::Translate::TextStorage;

namespace {

const std::string kPassword = "5318642";
const std::u16string kBuiltInOk = u"\u041Ek";

// A package with a two-line file for each language but Italian ("L<n>a",
// "L<n>b"), and an empty Italian file.
std::string Package() {
    ZipBuilder zip;
    for (uint32_t lang = 0; lang < kLanguageCount; ++lang) {
        const std::u16string member(LanguageFileMember(lang));
        const std::string name(member.begin(), member.end());
        const std::string n = std::to_string(lang);
        zip.Add({name, lang == 5 ? "" : "\xEF\xBB\xBFL" + n + "a\r\nL" + n + "b\r\n", kPassword, lang % 2 == 0, {}});
    }
    return zip.Build();
}

// Sets CurLang for the test and puts back what was there before.
class CurLangValue {
public:
    CurLangValue() {
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        DWORD size = sizeof old_;
        hadOld_ = RegQueryValueExW(key_, kCurLangValue, nullptr, &oldType_, old_, &size) == ERROR_SUCCESS;
        oldSize_ = size;
    }
    ~CurLangValue() {
        if (hadOld_) {
            RegSetValueExW(key_, kCurLangValue, 0, oldType_, old_, oldSize_);
        } else {
            RegDeleteValueW(key_, kCurLangValue);
        }
        RegCloseKey(key_);
    }
    void Set(DWORD type, const void* data, DWORD size) {
        RegSetValueExW(key_, kCurLangValue, 0, type, static_cast<const BYTE*>(data), size);
    }
    void Remove() { RegDeleteValueW(key_, kCurLangValue); }

private:
    HKEY key_ = nullptr;
    bool hadOld_ = false;
    DWORD oldType_ = 0;
    BYTE old_[64] = {};
    DWORD oldSize_ = 0;
};

std::u16string FirstText(const std::string& package, bool langRead, uint32_t lang) {
    MemoryArchive archive(package);
    ZipReader reader;
    reader.OpenWith(archive.Files(), "package", kPackagePassword);
    TextStorage texts;
    LoadLanguageTexts(texts, reader, langRead, lang);
    return texts.GetText(0);
}

}  // namespace

TEST(StartupResources, CurLangPicksTheLanguageFile) {
    const std::string package = Package();
    CurLangValue curLang;
    struct Case { const char* what; DWORD type; std::optional<uint32_t> value; std::u16string first; };
    const Case cases[] = {
        {"0", REG_DWORD, 0u, u"L0a"},        {"1", REG_DWORD, 1u, u"L1a"},
        {"2", REG_DWORD, 2u, u"L2a"},        {"3", REG_DWORD, 3u, u"L3a"},
        {"4", REG_DWORD, 4u, u"L4a"},        {"5, empty file", REG_DWORD, 5u, kBuiltInOk},
        {"6", REG_DWORD, 6u, u"L6a"},        {"7", REG_DWORD, 7u, kBuiltInOk},
        {"-1", REG_DWORD, 0xFFFFFFFFu, kBuiltInOk},
        {"binary 1", REG_BINARY, 1u, u"L1a"},  // the type is not looked at
        {"absent", REG_NONE, std::nullopt, kBuiltInOk},
    };
    for (const Case& c : cases) {
        if (c.value) {
            const DWORD value = *c.value;
            curLang.Set(c.type, &value, sizeof value);
        } else {
            curLang.Remove();
        }
        uint32_t lang = 0;
        const bool read = ReadCurLang(lang);
        EXPECT_EQ(FirstText(package, read, lang), c.first) << c.what;
    }
    curLang.Set(REG_SZ, L"1", 4);  // "1" as text reads as the number 0x31
    uint32_t lang = 0;
    ASSERT_TRUE(ReadCurLang(lang));
    EXPECT_EQ(FirstText(package, true, lang), kBuiltInOk);
}

TEST(StartupResources, NoPackageOrNoFileGivesTheBuiltInTexts) {
    const std::string onlyEnglish =
        ZipBuilder().Add({"Resource/Language_en.csv", "\xEF\xBB\xBFOK\r\n", kPassword, false, {}}).Build();
    EXPECT_EQ(FirstText(onlyEnglish, true, 0), u"OK");
    EXPECT_EQ(FirstText(onlyEnglish, true, 1), kBuiltInOk);     // no Russian file
    EXPECT_EQ(FirstText("", true, 0), kBuiltInOk);              // no package
    const std::string wrongPassword =
        ZipBuilder().Add({"Resource/Language_en.csv", "\xEF\xBB\xBFOK\r\n", std::string("1"), false, {}}).Build();
    EXPECT_EQ(FirstText(wrongPassword, true, 0), kBuiltInOk);
    const std::string markOnly =
        ZipBuilder().Add({"Resource/Language_en.csv", "\xEF\xBB\xBF", kPassword, false, {}}).Build();
    EXPECT_EQ(FirstText(markOnly, true, 0), kBuiltInOk);
}

TEST(StartupResources, LoadingTwiceKeepsTheFirstTexts) {
    CurLangValue curLang;
    curLang.Remove();
    LoadStartupResources();
    const std::u16string first = TextStorage::Instance().GetText(1);
    const std::size_t count = TextStorage::Instance().Count();
    LoadStartupResources();
    EXPECT_EQ(TextStorage::Instance().GetText(1), first);
    EXPECT_EQ(TextStorage::Instance().Count(), 2 * count);
    ReleasePackageReader();
}
