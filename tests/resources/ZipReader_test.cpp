#include "resources/ZipReader.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/MemoryArchive.h"
#include "resources/PackageMembers.h"
#include "resources/ZipBuilder.h"

using namespace WorkSpace;
using WorkSpace::Testing::MemoryArchive;
using WorkSpace::Testing::ZipBuilder;
using WorkSpace::Testing::ZipMember;

namespace {

const std::string kPassword = "5318642";
const std::string kLogo = std::string("\x89PNG\r\n\x1A\n", 8) + std::string(3000, 'L');
const std::string kText = "\xEF\xBB\xBF" "OK\r\nCancel\r\n";

std::string Package() {
    ZipBuilder zip;
    zip.Add({"Resource/logo.png", kLogo, kPassword, true, {}});
    zip.Add({"Resource/Language_en.csv", kText, kPassword, false, {}});
    zip.Add({"Resource/empty.txt", "", kPassword, false, {}});
    zip.Add({"Resource/plain.txt", "not encrypted", std::nullopt, false, {}});
    zip.Add({"Resource/plain_deflated.txt", std::string(500, 'p'), std::nullopt, true, {}});
    zip.Add({"Resource/other_password.txt", "secret", std::string("1234567"), false, {}});
    zip.Add({"Resource/other_password_deflated.txt", std::string(800, 'q'), std::string("1234567"), true, {}});
    zip.Add({"Resource/huge.bin", "tiny", kPassword, false, 0xFFFFFFF0u});
    zip.Add({"Resource/just_over.bin", "tiny", kPassword, false, uint32_t(kLargestMember + 1)});
    zip.Add({"Resource/short.bin", "tiny", kPassword, false, 5000u});
    return zip.Build();
}

// Returns the member as a string, "<none>" when the reader gives nothing.
std::string Read(ZipReader& reader, std::u16string_view name) {
    uint32_t count = 12345;
    const uint8_t* bytes = reader.ReadMember(name, count);
    const std::string result = bytes ? std::string(reinterpret_cast<const char*>(bytes), count) : "<none>";
    reader.FreeMember();
    return result;
}

}  // namespace

TEST(ZipReader, ReadsOnlyMembersOfThePackagePassword) {
    const std::string bytes = Package();
    MemoryArchive archive(bytes);
    ZipReader reader;
    ASSERT_TRUE(reader.OpenWith(archive.Files(), "package", kPackagePassword));
    struct Case { std::u16string name; std::string expected; };
    const Case cases[] = {
        {u"Resource/logo.png", kLogo},
        {u"RESOURCE/LOGO.PNG", kLogo},           // letter case does not matter
        {u"resource/Language_EN.csv", kText},
        {u"Resource/empty.txt", ""},             // a member of 0 bytes
        {u"Resource/plain.txt", "<none>"},       // not encrypted with the password
        {u"Resource/plain_deflated.txt", "<none>"},
        {u"Resource/other_password.txt", "<none>"},
        {u"Resource/other_password_deflated.txt", "<none>"},
        {u"Resource/huge.bin", "<none>"},        // declares 4 GiB: refused unallocated
        {u"Resource/just_over.bin", "<none>"},
        {u"Resource/short.bin", "<none>"},       // declares more than it holds
        {u"Resource/missing.png", "<none>"},
        {u"Resource/logo.png ", "<none>"},
        {u"Resource/l\u00F6go.png", "<none>"},
        {std::u16string(300, u'a'), "<none>"},  // longer than any name can be
        {u"", "<none>"},
        {u"Resource/logo.png", kLogo},           // still usable after all of the above
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Read(reader, c.name), c.expected) << std::string(c.name.begin(), c.name.end());
    }
}

TEST(ZipReader, MissingMemberLeavesTheCountAlone) {
    const std::string bytes = Package();
    MemoryArchive archive(bytes);
    ZipReader reader;
    ASSERT_TRUE(reader.OpenWith(archive.Files(), "package", kPackagePassword));
    uint32_t count = 77;
    EXPECT_EQ(reader.ReadMember(u"nothing", count), nullptr);
    EXPECT_EQ(count, 77u);
    EXPECT_NE(reader.ReadMember(u"Resource/empty.txt", count), nullptr);
    EXPECT_EQ(count, 0u);
}

TEST(ZipReader, WrongPasswordReadsNothing) {
    const std::string bytes = Package();
    MemoryArchive archive(bytes);
    ZipReader reader;
    ASSERT_TRUE(reader.OpenWith(archive.Files(), "package", u"5318643"));
    EXPECT_EQ(Read(reader, u"Resource/logo.png"), "<none>");
    EXPECT_EQ(Read(reader, u"Resource/Language_en.csv"), "<none>");
}

TEST(ZipReader, OpensOnceAndKeepsTheFirstPackage) {
    const std::string first = Package();
    const std::string second = ZipBuilder().Add({"Resource/logo.png", "other logo", kPassword, false, {}}).Build();
    MemoryArchive firstArchive(first), secondArchive(second);
    ZipReader reader;
    EXPECT_EQ(Read(reader, u"Resource/logo.png"), "<none>");  // closed: nothing to read
    ASSERT_TRUE(reader.OpenWith(firstArchive.Files(), "first", kPackagePassword));
    EXPECT_FALSE(reader.OpenWith(secondArchive.Files(), "second", kPackagePassword));
    EXPECT_EQ(Read(reader, u"Resource/logo.png"), kLogo);
    reader.Close();
    EXPECT_EQ(Read(reader, u"Resource/logo.png"), "<none>");
}

TEST(ZipReader, DamageIsNoneAndTheReaderStaysUsable) {
    std::string bytes = ZipBuilder()
                            .Add({"a.txt", std::string(4000, 'a'), kPassword, true, {}})
                            .Add({"b.txt", "bravo", kPassword, false, {}})
                            .Build();
    bytes[60] = char(bytes[60] ^ 0x55);  // inside a.txt's deflated data
    MemoryArchive archive(bytes);
    ZipReader reader;
    ASSERT_TRUE(reader.OpenWith(archive.Files(), "p", kPackagePassword));
    EXPECT_EQ(Read(reader, u"a.txt"), "<none>");
    EXPECT_EQ(Read(reader, u"b.txt"), "bravo");
    EXPECT_EQ(Read(reader, u"b.txt"), "bravo");  // the same member twice

    for (const std::string& garbage : {std::string(), std::string("PK\x05\x06"), std::string(100, '\0'),
                                       bytes.substr(0, bytes.size() - 5)}) {
        MemoryArchive broken(garbage);
        ZipReader other;
        EXPECT_FALSE(other.OpenWith(broken.Files(), "x", kPackagePassword));
        EXPECT_EQ(Read(other, u"b.txt"), "<none>");
    }
}

TEST(PackageMembers, OneMemberPerLanguage) {
    EXPECT_EQ(LanguageFileMember(0), u"Resource/Language_en.csv");
    EXPECT_EQ(LanguageFileMember(6), u"Resource/Language_jp.csv");
    EXPECT_EQ(ErrorPictureMember(3), u"Resource/FranceErrorFone.png");
    EXPECT_EQ(ListBoxPictureMember(4), u"Resource/ListBoxSpannishFone.png");
    for (uint32_t lang : {7u, 0xFFFFFFFFu}) {
        EXPECT_TRUE(LanguageFileMember(lang).empty());
        EXPECT_TRUE(ErrorPictureMember(lang).empty());
        EXPECT_TRUE(ListBoxPictureMember(lang).empty());
    }
}
