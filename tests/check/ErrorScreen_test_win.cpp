#include "check/ErrorScreen_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "resources/MemoryArchive.h"
#include "resources/PackageMembers.h"
#include "resources/TestPictures_win.h"
#include "resources/ZipBuilder.h"
#include "resources/ZipReader.h"
#include "settings/Paths_win.h"

using namespace WorkSpace;
using WorkSpace::Testing::MemoryArchive;
using WorkSpace::Testing::ZipBuilder;

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kEnglish = RGB(255, 0, 0);
constexpr COLORREF kJapanese = RGB(0, 0, 255);
constexpr COLORREF kLogo = RGB(0, 255, 0);

// A PNG of one colour (0x00RRGGBB), as the package holds it.
std::string SolidPng(int width, int height, uint32_t rgb) {
    const std::wstring folder = testpictures::MakeTempFolder(L"errorscreen");
    const std::wstring path = folder + L"picture.png";
    testpictures::SavePicture(path, L"image/png", width, height, testpictures::Solid(0xFF000000u | rgb));
    const std::vector<uint8_t> bytes = testpictures::ReadBytes(path);
    testpictures::RemoveTempFolder(folder);
    return std::string(bytes.begin(), bytes.end());
}

std::string Name(std::u16string_view member) { return std::string(member.begin(), member.end()); }

// A package with the English and Japanese message pictures (400 x 300) and a
// 180 x 60 logo.
std::string Package(bool withLogo) {
    const std::string password(kPackagePassword.begin(), kPackagePassword.end());
    ZipBuilder zip;
    zip.Add({Name(ErrorPictureMember(0)), SolidPng(400, 300, 0xFF0000), password, true, {}});
    zip.Add({Name(ErrorPictureMember(6)), SolidPng(400, 300, 0x0000FF), password, true, {}});
    if (withLogo) zip.Add({Name(kLogoMember), SolidPng(180, 60, 0x00FF00), password, true, {}});
    return zip.Build();
}

// A visible top-level window with a white client area of the given size.
class TestWindow {
public:
    TestWindow(int width, int height) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = L"ErrorScreenTest";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(WS_EX_TOPMOST, L"ErrorScreenTest", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                  width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        UpdateWindow(window_);
    }
    ~TestWindow() { DestroyWindow(window_); }
    HWND Get() const { return window_; }
    COLORREF PixelAt(int x, int y) const {
        HDC dc = GetDC(window_);
        const COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(window_, dc);
        return colour;
    }

private:
    HWND window_ = nullptr;
};

// Sets CurLang for one test, or removes it; the test bed starts without it.
class CurLang {
public:
    explicit CurLang(const DWORD* value) { Set(value); }
    ~CurLang() { Set(nullptr); }

private:
    static void Set(const DWORD* value) {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        if (value) {
            RegSetValueExW(key, kCurLangValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(value), sizeof(*value));
        } else {
            RegDeleteValueW(key, kCurLangValue);
        }
        RegCloseKey(key);
    }
};

}  // namespace

TEST(ErrorScreen, LanguagePictureCentredAndLogoBottomLeft) {
    const std::string package = Package(true);
    MemoryArchive archive(package);
    ASSERT_TRUE(ZipReader::Instance().OpenWith(archive.Files(), "package", kPackagePassword));
    const DWORD japanese = 6, unknown = 7;
    struct Case { const char* what; const DWORD* lang; COLORREF picture; };
    const Case cases[] = {
        {"no language", nullptr, kEnglish},
        {"Japanese", &japanese, kJapanese},
        {"beyond the table", &unknown, kEnglish},
    };
    for (const Case& c : cases) {
        CurLang lang(c.lang);
        TestWindow window(800, 600);
        ASSERT_TRUE(PrepareErrorScreen(window.Get())) << c.what;
        ASSERT_TRUE(DrawErrorScreen()) << c.what;
        EXPECT_EQ(window.PixelAt(400, 300), c.picture) << c.what;  // centre
        EXPECT_EQ(window.PixelAt(201, 151), c.picture) << c.what;  // picture's top-left corner
        EXPECT_EQ(window.PixelAt(199, 149), kBlack) << c.what;
        EXPECT_EQ(window.PixelAt(5, 595), kLogo) << c.what;
        EXPECT_EQ(window.PixelAt(178, 541), kLogo) << c.what;
        EXPECT_EQ(window.PixelAt(182, 538), kBlack) << c.what;
        EXPECT_EQ(window.PixelAt(5, 5), kBlack) << c.what;
    }
    ReleaseErrorScreen();
    EXPECT_FALSE(DrawErrorScreen());
    ReleasePackageReader();
}

TEST(ErrorScreen, SmallWindowShowsOnlyTheReducedLogo) {
    const std::string package = Package(true);
    MemoryArchive archive(package);
    ASSERT_TRUE(ZipReader::Instance().OpenWith(archive.Files(), "package", kPackagePassword));
    TestWindow window(152, 112);
    ASSERT_TRUE(PrepareErrorScreen(window.Get()));
    ASSERT_TRUE(DrawErrorScreen());
    // The reduced logo covers about (36.75, 37.25) to (136.75, 70.6).
    EXPECT_EQ(window.PixelAt(40, 40), kLogo);
    EXPECT_EQ(window.PixelAt(133, 68), kLogo);
    EXPECT_EQ(window.PixelAt(34, 40), kBlack);
    EXPECT_EQ(window.PixelAt(76, 74), kBlack);
    EXPECT_EQ(window.PixelAt(5, 105), kBlack);  // no corner logo
    // Preparing again for another window releases the first preparation.
    TestWindow large(640, 480);
    ASSERT_TRUE(PrepareErrorScreen(large.Get()));
    ASSERT_TRUE(DrawErrorScreen());
    EXPECT_EQ(large.PixelAt(320, 240), kEnglish);
    EXPECT_EQ(large.PixelAt(5, 475), kLogo);
    ReleaseErrorScreen();
    ReleasePackageReader();
}

TEST(ErrorScreen, WithoutItsPicturesNothingIsDrawnAndBlackFillsTheWindow) {
    struct Case { const char* what; bool package; };
    for (const Case& c : {Case{"no package", false}, Case{"no logo", true}}) {
        const std::string package = Package(false);
        MemoryArchive archive(package);
        if (c.package) {
            ASSERT_TRUE(ZipReader::Instance().OpenWith(archive.Files(), "package", kPackagePassword));
        }
        TestWindow window(320, 240);
        EXPECT_FALSE(PrepareErrorScreen(window.Get())) << c.what;
        EXPECT_FALSE(DrawErrorScreen()) << c.what;
        EXPECT_EQ(window.PixelAt(160, 120), RGB(255, 255, 255)) << c.what;
        FillWindowBlack(window.Get());
        EXPECT_EQ(window.PixelAt(160, 120), kBlack) << c.what;
        EXPECT_EQ(window.PixelAt(319, 239), kBlack) << c.what;
        ReleaseErrorScreen();
        ReleasePackageReader();
    }
}
