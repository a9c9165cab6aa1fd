// The content the saver ships: the package beside the test binary (build's
// bin/, where the build packs it), the default pictures beside it, and the
// dialog banner in the source tree. Read with minizip directly and decoded
// with GDI+, as a user's Windows would.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include "minizip/unzip.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* kPackage = "VeltResource.dat";
constexpr const char* kPassword = "5318642";
constexpr int kTextCount = 56;
// Texts the dialog, the list box and the messages show; each needs a translation.
constexpr int kShownTexts[] = {0, 1, 2, 3, 4, 6, 7, 18, 25, 27, 28, 29, 30, 31,
                               45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55};

enum class Kind { Language, Error, ListBox, Logo };
struct Member { const char* name; Kind kind; };
const Member kMembers[] = {
    {"Resource/Language_en.csv", Kind::Language}, {"Resource/Language_ru.csv", Kind::Language},
    {"Resource/Language_de.csv", Kind::Language}, {"Resource/Language_fr.csv", Kind::Language},
    {"Resource/Language_es.csv", Kind::Language}, {"Resource/Language_it.csv", Kind::Language},
    {"Resource/Language_jp.csv", Kind::Language},
    {"Resource/EnglishErrorFone.png", Kind::Error}, {"Resource/RussianErrorFone.png", Kind::Error},
    {"Resource/GermanErrorFone.png", Kind::Error}, {"Resource/FranceErrorFone.png", Kind::Error},
    {"Resource/SpannishErrorFone.png", Kind::Error}, {"Resource/ItalianErrorFone.png", Kind::Error},
    {"Resource/JapanErrorFone.png", Kind::Error},
    {"Resource/ListBoxEnglishFone.png", Kind::ListBox}, {"Resource/ListBoxRussianFone.png", Kind::ListBox},
    {"Resource/ListBoxGermanFone.png", Kind::ListBox}, {"Resource/ListBoxFranceFone.png", Kind::ListBox},
    {"Resource/ListBoxSpannishFone.png", Kind::ListBox}, {"Resource/ListBoxItalianFone.png", Kind::ListBox},
    {"Resource/ListBoxJapanFone.png", Kind::ListBox},
    {"Resource/logo.png", Kind::Logo},
};

struct ZipCloser { void operator()(void* zip) const { unzClose(zip); } };
using Zip = std::unique_ptr<void, ZipCloser>;

// Reads the current member whole with the given password; false on any
// failure, including the CRC check when the member is closed.
bool ReadCurrent(unzFile zip, const char* password, std::vector<uint8_t>& bytes) {
    unz_file_info info{};
    if (unzGetCurrentFileInfo(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
    bytes.assign(info.uncompressed_size, 0);
    if (unzOpenCurrentFilePassword(zip, password) != UNZ_OK) return false;
    const int got = bytes.empty() ? 0 : unzReadCurrentFile(zip, bytes.data(), static_cast<unsigned>(bytes.size()));
    const int closed = unzCloseCurrentFile(zip);
    return got == static_cast<int>(bytes.size()) && closed == UNZ_OK;
}

class GdiPlus {
public:
    GdiPlus() { Gdiplus::GdiplusStartupInput input; Gdiplus::GdiplusStartup(&token_, &input, nullptr); }
    ~GdiPlus() { if (token_) Gdiplus::GdiplusShutdown(token_); }
    GdiPlus(const GdiPlus&) = delete;
    GdiPlus& operator=(const GdiPlus&) = delete;
private:
    ULONG_PTR token_ = 0;
};

struct Decoded {
    bool ok = false;
    UINT width = 0, height = 0;
    Gdiplus::PixelFormat format = 0;
    bool alpha = false;
    uint8_t cornerAlpha = 0;
};

Decoded Inspect(Gdiplus::Bitmap& bitmap) {
    Decoded d;
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return d;
    d.ok = true;
    d.width = bitmap.GetWidth();
    d.height = bitmap.GetHeight();
    d.format = bitmap.GetPixelFormat();
    d.alpha = (d.format & PixelFormatAlpha) != 0;
    Gdiplus::Color corner;
    if (bitmap.GetPixel(0, 0, &corner) == Gdiplus::Ok) d.cornerAlpha = corner.GetA();
    return d;
}

Decoded DecodeBytes(const std::vector<uint8_t>& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block) return {};
    memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(block, TRUE, &stream) != S_OK) { GlobalFree(block); return {}; }
    Decoded d;
    {
        Gdiplus::Bitmap bitmap(stream);
        d = Inspect(bitmap);
    }
    stream->Release();
    return d;
}

Decoded DecodeFile(const std::wstring& path) {
    Gdiplus::Bitmap bitmap(path.c_str());
    return Inspect(bitmap);
}

std::wstring BinDirectory() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir = path;
    return dir.substr(0, dir.find_last_of(L'\\') + 1);
}

// The texts of a language file, or a failure text: the BOM, then every line
// ended by CR LF, with no other CR or LF, and valid UTF-8 throughout.
std::string SplitLanguageFile(const std::vector<uint8_t>& bytes, std::vector<std::string>& texts) {
    if (bytes.size() < 3 || bytes[0] != 0xEF || bytes[1] != 0xBB || bytes[2] != 0xBF) return "no byte-order mark";
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(bytes.data()),
                            static_cast<int>(bytes.size()), nullptr, 0) == 0) return "not UTF-8";
    std::string line;
    for (size_t i = 3; i < bytes.size(); ++i) {
        const char c = static_cast<char>(bytes[i]);
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            texts.push_back(line);
            line.clear();
            ++i;
        } else if (c == '\r' || c == '\n') {
            return "a lone CR or LF";
        } else {
            line += c;
        }
    }
    return line.empty() ? "" : "last line without CR LF";
}

class ShippedContent : public ::testing::Test {
protected:
    void SetUp() override { zip_.reset(unzOpen(kPackage)); ASSERT_TRUE(zip_) << "no package in the bin folder"; }
    Zip zip_;
    GdiPlus gdiplus_;
};

TEST_F(ShippedContent, PackageHoldsEveryMemberEncrypted) {
    unz_global_info global{};
    ASSERT_EQ(unzGetGlobalInfo(zip_.get(), &global), UNZ_OK);
    EXPECT_EQ(global.number_entry, std::size(kMembers));
    for (const Member& m : kMembers) {
        SCOPED_TRACE(m.name);
        ASSERT_EQ(unzLocateFile(zip_.get(), m.name, 1), UNZ_OK);
        unz_file_info info{};
        ASSERT_EQ(unzGetCurrentFileInfo(zip_.get(), &info, nullptr, 0, nullptr, 0, nullptr, 0), UNZ_OK);
        EXPECT_EQ(info.flag & 1u, 1u) << "not marked encrypted";
        EXPECT_TRUE(info.compression_method == 0 || info.compression_method == Z_DEFLATED);
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(ReadCurrent(zip_.get(), kPassword, bytes));
        EXPECT_FALSE(bytes.empty());
        // The cipher is real: another password never yields the member.
        std::vector<uint8_t> wrong;
        EXPECT_FALSE(ReadCurrent(zip_.get(), "5318643", wrong) && wrong == bytes);
    }
}

TEST_F(ShippedContent, LanguageFilesHoldEveryShownText) {
    for (const Member& m : kMembers) {
        if (m.kind != Kind::Language) continue;
        SCOPED_TRACE(m.name);
        std::vector<uint8_t> bytes;
        ASSERT_EQ(unzLocateFile(zip_.get(), m.name, 1), UNZ_OK);
        ASSERT_TRUE(ReadCurrent(zip_.get(), kPassword, bytes));
        std::vector<std::string> texts;
        EXPECT_EQ(SplitLanguageFile(bytes, texts), "");
        ASSERT_EQ(texts.size(), static_cast<size_t>(kTextCount));
        for (int number : kShownTexts) EXPECT_FALSE(texts[number].empty()) << "text " << number;
        if (std::string(m.name) == "Resource/Language_en.csv") {
            EXPECT_EQ(texts[0], "OK");
            EXPECT_EQ(texts[25], "Veltrano Screen Saver");
        }
    }
}

TEST_F(ShippedContent, PackagePicturesDecodeAtTheirSizes) {
    for (const Member& m : kMembers) {
        if (m.kind == Kind::Language) continue;
        SCOPED_TRACE(m.name);
        std::vector<uint8_t> bytes;
        ASSERT_EQ(unzLocateFile(zip_.get(), m.name, 1), UNZ_OK);
        ASSERT_TRUE(ReadCurrent(zip_.get(), kPassword, bytes));
        const Decoded d = DecodeBytes(bytes);
        ASSERT_TRUE(d.ok);
        switch (m.kind) {
        case Kind::Logo:  // drawn over pictures: transparent around the emblem and name
            EXPECT_EQ(d.width, 180u);
            EXPECT_EQ(d.height, 60u);
            EXPECT_TRUE(d.alpha);
            EXPECT_EQ(d.cornerAlpha, 0);
            break;
        case Kind::Error:  // centred whole in any window of 640 x 480 or more
            EXPECT_LE(d.width, 640u);
            EXPECT_LE(d.height, 480u);
            break;
        case Kind::ListBox:  // the list box's client area at 96 DPI
            EXPECT_EQ(d.width, 396u);
            EXPECT_EQ(d.height, 209u);
            break;
        case Kind::Language:
            break;
        }
    }
}

TEST_F(ShippedContent, DefaultPicturesAndBannerDecode) {
    for (const wchar_t* name : {L"default_1.jpg", L"default_2.jpg", L"default_3.jpg"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        const Decoded d = DecodeFile(BinDirectory() + name);
        ASSERT_TRUE(d.ok);
        EXPECT_GE(d.width, 1024u);
        EXPECT_GE(d.height, 576u);
    }
    // The banner of the configuration dialog, kept in the source tree (the
    // test binary runs from build/windows/bin).
    const Decoded banner = DecodeFile(BinDirectory() + L"..\\..\\..\\assets\\pictures\\Banner103.bmp");
    ASSERT_TRUE(banner.ok);
    EXPECT_EQ(banner.width, 421u);
    EXPECT_EQ(banner.height, 37u);
    EXPECT_EQ(banner.format, PixelFormat24bppRGB);
}

}  // namespace
