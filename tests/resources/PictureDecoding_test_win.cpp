#include "resources/PictureDecoding_win.h"

#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "resources/TestPictures_win.h"

using namespace WorkSpace;
using namespace testpictures;

namespace {

// The texture side these tests ask for: twice the picture's, at most 300 pixels.
int32_t TestSide(int32_t side) { return std::min(side * 2, 300); }

// The colour bytes (blue, green, red) at (x, y) of an image locked as 24-bit pixels.
uint32_t RgbAt(Gdiplus::GpImage* image, int x, int y) {
    PixelLock pixels(image, PixelFormat24bppRGB, Gdiplus::ImageLockModeRead);
    if (!pixels) return 0xDEADBEEF;
    const uint8_t* p = pixels.Pixels() + ptrdiff_t(y) * pixels.Stride() + x * 3;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

bool Near(uint32_t rgb, uint32_t expected, int tolerance = 24) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = int(rgb >> shift & 0xFF), b = int(expected >> shift & 0xFF);
        if (a - b > tolerance || b - a > tolerance) return false;
    }
    return true;
}

class PictureDecoding : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartImageServices());
        folder_ = MakeTempFolder(L"decoding");
    }
    void TearDown() override { RemoveTempFolder(folder_); }
    std::wstring folder_;
};

}  // namespace

TEST_F(PictureDecoding, EveryOfferedFormatDecodesAtItsTextureSize) {
    struct Case { const wchar_t* mime; const wchar_t* name; };
    const Case cases[] = {
        {L"image/bmp", L"a.bmp"}, {L"image/jpeg", L"a.jpg"}, {L"image/png", L"a.png"},
        {L"image/gif", L"a.gif"}, {L"image/tiff", L"a.tif"},
    };
    for (const Case& c : cases) {
        const std::wstring path = folder_ + c.name;
        ASSERT_TRUE(SavePicture(path, c.mime, 300, 200, Solid(0xFF2060C0))) << c.mime;
        ImageHolder holder;
        ASSERT_TRUE(LoadPictureFile(holder, path, TestSide)) << c.mime;
        EXPECT_EQ(holder.width, 300);
        EXPECT_EQ(holder.height, 200);
        const SIZE size = ImageSize(holder.image.Get());
        EXPECT_EQ(size.cx, 300);
        EXPECT_EQ(size.cy, 300);
        EXPECT_TRUE(Near(RgbAt(holder.image.Get(), 64, 64), 0x2060C0)) << std::hex
            << RgbAt(holder.image.Get(), 64, 64);
    }
}

// Each side of the texture is the one the rule gives for that side of the
// picture, larger or smaller; the holder keeps the picture's own size.
TEST_F(PictureDecoding, TheRuleSetsEachTextureSideAndTheDecodedSizeIsKept) {
    struct Case { int width, height, textureWidth, textureHeight; };
    const Case cases[] = {
        {1, 1, 2, 2}, {15, 16, 30, 32}, {63, 64, 126, 128}, {50, 30, 100, 60},
        {399, 400, 300, 300}, {3000, 2000, 300, 300}, {10000, 10, 300, 20},
    };
    for (const Case& c : cases) {
        const std::wstring path = folder_ + L"s.png";
        ASSERT_TRUE(SavePicture(path, L"image/png", c.width, c.height, Solid(0xFF00FF00)));
        ImageHolder holder;
        ASSERT_TRUE(LoadPictureFile(holder, path, TestSide)) << c.width << "x" << c.height;
        EXPECT_EQ(holder.width, c.width);
        EXPECT_EQ(holder.height, c.height);
        const SIZE size = ImageSize(holder.image.Get());
        EXPECT_EQ(size.cx, c.textureWidth) << c.width;
        EXPECT_EQ(size.cy, c.textureHeight) << c.height;
    }
}

TEST_F(PictureDecoding, BadFilesFailQuietlyAndLeaveTheHolderEmpty) {
    const std::wstring good = folder_ + L"good.jpg";
    ASSERT_TRUE(SavePicture(good, L"image/jpeg", 64, 48, Solid(0xFFFF0000)));
    const std::vector<uint8_t> jpeg = ReadBytes(good);
    ASSERT_GT(jpeg.size(), 100u);
    const std::string text = "this is not a picture\r\n";
    const std::vector<uint8_t> huge = HugeBitmapHeader();
    ASSERT_TRUE(WriteBytes(folder_ + L"empty.jpg", "", 0));
    ASSERT_TRUE(WriteBytes(folder_ + L"truncated.jpg", jpeg.data(), 40));
    ASSERT_TRUE(WriteBytes(folder_ + L"text.jpg", text.data(), text.size()));
    ASSERT_TRUE(WriteBytes(folder_ + L"huge.bmp", huge.data(), huge.size()));
    ASSERT_TRUE(CreateDirectoryW((folder_ + L"folder.jpg").c_str(), nullptr));
    std::vector<const wchar_t*> bad = {L"missing.jpg", L"empty.jpg", L"truncated.jpg",
                                       L"text.jpg", L"folder.jpg", L"huge.bmp"};
    // Over the pixel bound: refused before any decoder would allocate for them.
    for (const auto& [name, bytes] : HugeClaims()) {
        ASSERT_TRUE(WriteBytes(folder_ + name, bytes.data(), bytes.size()));
        bad.push_back(name);
    }
    for (const wchar_t* name : bad) {
        ImageHolder holder;
        ASSERT_TRUE(LoadPictureFile(holder, good, TestSide));  // a full holder is emptied first
        EXPECT_FALSE(LoadPictureFile(holder, folder_ + name, TestSide)) << std::wstring(name).size();
        EXPECT_FALSE(holder.image);
        EXPECT_EQ(holder.width, 0);
        EXPECT_EQ(holder.height, 0);
    }
    ImageHolder empty;
    EXPECT_FALSE(LoadPictureFile(empty, L"", TestSide));
}

TEST_F(PictureDecoding, ContentDecidesNotTheExtension) {
    const std::wstring path = folder_ + L"really_a_jpeg.png";
    ASSERT_TRUE(SavePicture(path, L"image/jpeg", 40, 20, Solid(0xFF0000FF)));
    ImageHolder holder;
    ASSERT_TRUE(LoadPictureFile(holder, path, TestSide));
    EXPECT_EQ(holder.width, 40);
    EXPECT_TRUE(Near(RgbAt(holder.image.Get(), 10, 5), 0x0000FF));
}

TEST_F(PictureDecoding, AnimatedGifShowsItsFirstFrame) {
    const std::wstring path = folder_ + L"anim.gif";
    ASSERT_TRUE(WriteBytes(path, kAnimatedGif, sizeof kAnimatedGif));
    ImageHolder holder;
    ASSERT_TRUE(LoadPictureFile(holder, path, TestSide));
    EXPECT_EQ(holder.width, 8);
    EXPECT_EQ(holder.height, 6);
    EXPECT_TRUE(Near(RgbAt(holder.image.Get(), 8, 8), 0xFF0000, 2));
}

TEST_F(PictureDecoding, TransparentAreasBecomeBlack) {
    const std::wstring path = folder_ + L"clear.png";
    // Left half fully transparent, right half opaque white.
    ASSERT_TRUE(SavePicture(path, L"image/png", 64, 64,
                            [](int x, int) { return x < 32 ? 0x00FFFFFFu : 0xFFFFFFFFu; }));
    ImageHolder holder;
    ASSERT_TRUE(LoadPictureFile(holder, path, TestSide));
    EXPECT_TRUE(Near(RgbAt(holder.image.Get(), 10, 60), 0x000000, 2));
    EXPECT_TRUE(Near(RgbAt(holder.image.Get(), 110, 60), 0xFFFFFF, 2));
}

TEST_F(PictureDecoding, RepeatedLoadsDoNotLeak) {
    const std::wstring good = folder_ + L"leak.jpg";
    ASSERT_TRUE(SavePicture(good, L"image/jpeg", 640, 480, Solid(0xFF808080)));
    const std::vector<uint8_t> huge = HugeBitmapHeader();
    ASSERT_TRUE(WriteBytes(folder_ + L"huge.bmp", huge.data(), huge.size()));
    auto privateBytes = [] {
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof counters;
        GetProcessMemoryInfo(GetCurrentProcess(),
                             reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
        return counters.PrivateUsage;
    };
    auto loadBoth = [&] {
        ImageHolder holder;
        LoadPictureFile(holder, good, TestSide);
        LoadPictureFile(holder, folder_ + L"huge.bmp", TestSide);
    };
    for (int i = 0; i < 5; ++i) loadBoth();
    const SIZE_T before = privateBytes();
    for (int i = 0; i < 60; ++i) loadBoth();
    const SIZE_T after = privateBytes();
    // 60 rounds of a 1.2 MB decode: a leak of either would show as tens of MB.
    EXPECT_LT(after, before + 8 * 1024 * 1024) << before << " -> " << after;
}

namespace {

// A stand-in for the package reader: one member, and a count of frees.
struct FakeReader {
    std::u16string name;
    std::vector<uint8_t> bytes;
    int frees = 0;
    const uint8_t* ReadMember(std::u16string_view member, uint32_t& count) {
        count = 0;
        if (member != name) return nullptr;
        count = uint32_t(bytes.size());
        return bytes.data() ? bytes.data() : reinterpret_cast<const uint8_t*>("");
    }
    void FreeMember() { ++frees; }
};

}  // namespace

TEST_F(PictureDecoding, PackageImagesDecodeFromMemoryAtTheirOwnSize) {
    const std::wstring path = folder_ + L"logo.png";
    ASSERT_TRUE(SavePicture(path, L"image/png", 120, 40,
                            [](int x, int) { return x < 60 ? 0x80FF0000u : 0xFF00FF00u; }));
    FakeReader reader{u"Resource/logo.png", ReadBytes(path)};
    UniqueImage image = LoadPackageImage(u"Resource/logo.png", reader);
    ASSERT_TRUE(image);
    EXPECT_EQ(reader.frees, 1);
    const SIZE size = ImageSize(image.Get());
    EXPECT_EQ(size.cx, 120);
    EXPECT_EQ(size.cy, 40);
    PixelLock pixels(image.Get(), PixelFormat32bppARGB, Gdiplus::ImageLockModeRead);
    ASSERT_TRUE(pixels);
    uint32_t left = 0, right = 0;
    std::memcpy(&left, pixels.Pixels() + 4 * 10, 4);
    std::memcpy(&right, pixels.Pixels() + 4 * 100, 4);
    EXPECT_EQ(left, 0x80FF0000u);  // alpha kept, not premultiplied
    EXPECT_EQ(right, 0xFF00FF00u);

    EXPECT_FALSE(LoadPackageImage(u"Resource/missing.png", reader));
    EXPECT_EQ(reader.frees, 1);  // nothing read, nothing to free
    EXPECT_TRUE(LoadPackageImage(u"Resource/logo.png", reader));  // still usable

    FakeReader garbage{u"x.png", {1, 2, 3, 4, 5}};
    EXPECT_FALSE(LoadPackageImage(u"x.png", garbage));
    EXPECT_EQ(garbage.frees, 1);
    FakeReader empty{u"x.png", {}};
    EXPECT_FALSE(LoadPackageImage(u"x.png", empty));
    EXPECT_EQ(empty.frees, 1);
}
