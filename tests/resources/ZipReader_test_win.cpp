#include "resources/ZipReader.h"

#include <gtest/gtest.h>

#include "common/WideText_win.h"
#include "resources/PackageMembers.h"
#include "resources/ZipBuilder.h"
#include "support/TestFolder_win.h"

using namespace WorkSpace;
using WorkSpace::Testing::TestFolder;
using WorkSpace::Testing::WriteBytes;
using WorkSpace::Testing::ZipBuilder;

TEST(ZipReader, OpensThePackageInAnyFolder) {
    const std::string package = ZipBuilder()
                                    .Add({"Resource/logo.png", std::string(2000, 'L'), std::string("5318642"), true, {}})
                                    .Build();
    // Cyrillic and Japanese folder names, which no single ANSI code page holds.
    for (const wchar_t* leaf : {L"_\x041F\x0430\x043A\x0435\x0442", L"_\x30D1\x30C3\x30B1\x30FC\x30B8", L"_plain"}) {
        TestFolder folder(leaf);
        // The folder ends in a backslash and the package name begins with one.
        const std::wstring path = folder.Path() + ToWide(kPackageFileName);
        ASSERT_TRUE(WriteBytes(path, package));
        ZipReader reader;
        ASSERT_TRUE(reader.Open(AsU16(path), kPackagePassword)) << "folder " << int(leaf[1]);
        uint32_t count = 0;
        const uint8_t* bytes = reader.ReadMember(kLogoMember, count);
        ASSERT_NE(bytes, nullptr);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes), count), std::string(2000, 'L'));
        reader.FreeMember();
        reader.Close();  // lets the folder be removed
    }
}

TEST(ZipReader, MissingOrForeignPackageIsNotOpened) {
    TestFolder folder;
    ZipReader reader;
    EXPECT_FALSE(reader.Open(AsU16(folder.File(L"VeltResource.dat")), kPackagePassword));
    ASSERT_TRUE(WriteBytes(folder.File(L"text.dat"), "this is not an archive at all, just some text"));
    EXPECT_FALSE(reader.Open(AsU16(folder.File(L"text.dat")), kPackagePassword));
    uint32_t count = 0;
    EXPECT_EQ(reader.ReadMember(kLogoMember, count), nullptr);
}
