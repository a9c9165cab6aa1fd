#include "scene/SceneBuild_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include "common/WideText_win.h"
#include "resources/PackageMembers.h"
#include "resources/PictureDecoding_win.h"
#include "resources/ZipBuilder.h"
#include "resources/ZipReader.h"
#include "resources/TestPictures_win.h"
#include "scene/GlWindow_win.h"
#include "scene/RenderContext_win.h"
#include "scene/SceneModel.h"
#include "scene/TextureList_win.h"
#include "settings/PictureSettings_win.h"

using namespace WorkSpace;
using namespace testpictures;

namespace {

class SceneBuild : public ::testing::Test {
protected:
    void SetUp() override { folder_ = MakeTempFolder(L"build"); }
    void TearDown() override {
        TheScene() = Scene();
        TheTextureList().Clear();
        Settings() = PictureSettings();
        DestroyGlContext();
        RemoveTempFolder(folder_);
    }
    std::wstring Picture(const wchar_t* name, int width, int height) {
        const std::wstring path = folder_ + name;
        EXPECT_TRUE(SavePicture(path, L"image/png", width, height, Solid(0xFF404040)));
        return path;
    }
    std::wstring folder_;
};

}  // namespace

TEST_F(SceneBuild, QuadsShowOnlyPicturesThatLoadedUnderTheirOwnNames) {
    const std::wstring wide = Picture(L"wide.png", 400, 200);
    const std::wstring tall = Picture(L"tall.png", 100, 300);
    ASSERT_TRUE(CreateDirectoryW((folder_ + L"folder.jpg").c_str(), nullptr));
    const std::vector<std::wstring> pictures = {wide, folder_ + L"missing.jpg",
                                                folder_ + L"folder.jpg", tall};
    LoadScenePictures(pictures);
    const TextureList& list = TheTextureList();
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.At(0).name, 0);
    EXPECT_EQ(list.At(1).name, 3);
    const Scene& scene = TheScene();
    ASSERT_EQ(scene.quads.size(), 30u);
    for (size_t j = 0; j < scene.quads.size(); ++j) {
        const SceneQuad& quad = scene.quads[j];
        EXPECT_EQ(quad.texture, j % 2 == 0 ? 0 : 3) << j;
        EXPECT_DOUBLE_EQ(quad.height / quad.width, j % 2 == 0 ? 0.5 : 3.0) << j;
    }
    LoadScenePictures({folder_ + L"missing.jpg"});
    EXPECT_TRUE(TheScene().quads.empty());
    EXPECT_EQ(TheTextureList().Count(), 0u);
}

TEST_F(SceneBuild, BadFilesAreLeftOutAndOddOnesFly) {
    const std::wstring good = Picture(L"good.jpg", 64, 48);
    const std::vector<uint8_t> jpeg = ReadBytes(good);
    const std::vector<uint8_t> huge = HugeBitmapHeader();
    const std::string text = "not a picture";
    ASSERT_TRUE(WriteBytes(folder_ + L"empty.jpg", "", 0));
    ASSERT_TRUE(WriteBytes(folder_ + L"cut.jpg", jpeg.data(), jpeg.size() / 3));
    ASSERT_TRUE(WriteBytes(folder_ + L"text.png", text.data(), text.size()));
    ASSERT_TRUE(WriteBytes(folder_ + L"huge.bmp", huge.data(), huge.size()));
    ASSERT_TRUE(WriteBytes(folder_ + L"anim.gif", kAnimatedGif, sizeof kAnimatedGif));
    ASSERT_TRUE(CreateDirectoryW((folder_ + L"folder.tif").c_str(), nullptr));
    const std::wstring clear = folder_ + L"clear.png";
    ASSERT_TRUE(SavePicture(clear, L"image/png", 30, 30, Solid(0x00000000)));
    const std::vector<std::wstring> pictures = {
        folder_ + L"missing.jpg", folder_ + L"empty.jpg", folder_ + L"cut.jpg",
        folder_ + L"text.png", folder_ + L"huge.bmp", folder_ + L"folder.tif",
        Picture(L"dot.png", 1, 1), Picture(L"panorama.png", 10000, 10),
        folder_ + L"anim.gif", clear};
    LoadScenePictures(pictures);
    const TextureList& list = TheTextureList();
    std::vector<int32_t> names;
    for (size_t i = 0; i < list.Count(); ++i) names.push_back(list.At(i).name);
    // The cut JPEG may still decode (its missing rows grey): it is shown or
    // left out, never a crash. Everything before it fails.
    for (int32_t name : names) EXPECT_GE(name, 2);
    for (int32_t name : {6, 7, 8, 9}) {
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    }
    for (int32_t name : {0, 1, 3, 4, 5}) {
        EXPECT_EQ(std::find(names.begin(), names.end(), name), names.end()) << name;
    }
    EXPECT_EQ(TheScene().quads.size(), 30u);
    for (const SceneQuad& quad : TheScene().quads) {
        EXPECT_NE(std::find(names.begin(), names.end(), quad.texture), names.end());
    }
}

TEST_F(SceneBuild, LoadingStopsOnceEverySlotHasItsPicture) {
    const std::wstring one = Picture(L"one.png", 32, 32);
    std::vector<std::wstring> pictures(45, one);
    pictures[2] = folder_ + L"missing.png";
    LoadScenePictures(pictures);
    const TextureList& list = TheTextureList();
    ASSERT_EQ(list.Count(), 30u);
    EXPECT_EQ(list.At(29).name, 30);  // 31 tried, one of them failed
    std::set<int32_t> shown;
    for (const SceneQuad& quad : TheScene().quads) shown.insert(quad.texture);
    EXPECT_EQ(shown.size(), 30u);
    EXPECT_EQ(shown.count(2), 0u);
}

TEST_F(SceneBuild, SettingsFileGivesPicturesAndScheme) {
    PictureSettings& settings = Settings();
    settings.pictures = {Picture(L"a.png", 300, 200), Picture(L"b.png", 200, 300)};
    settings.values = {{L"SelectScheme", 3}};
    const std::wstring path = folder_ + L"Veltrano.scr.settings";
    ASSERT_TRUE(settings.Save(path));
    settings = PictureSettings();
    TheScene().scheme = 0;
    ASSERT_TRUE(BuildScene(path, false));
    EXPECT_EQ(TheScene().scheme, 3);
    EXPECT_EQ(Settings().pictures.size(), 2u);
    EXPECT_EQ(TheScene().quads.size(), 10u);

    // Kept settings: the record and the scheme in memory, not the file.
    Settings().pictures.pop_back();
    TheScene().scheme = 1;
    ASSERT_TRUE(BuildScene(path, true));
    EXPECT_EQ(TheScene().scheme, 1);
    EXPECT_EQ(TheTextureList().Count(), 1u);
    EXPECT_EQ(TheScene().quads.size(), 30u);
}

TEST_F(SceneBuild, LogoTakesTheNextNameAndTheBottomLeftCorner) {
    glwindow::GlWindow window(800, 600);
    ASSERT_TRUE(AttachWindow(window.Get()));
    const std::wstring logoPath = folder_ + L"logo.png";
    ASSERT_TRUE(SavePicture(logoPath, L"image/png", 120, 40, Solid(0x80FFFFFF)));
    const std::vector<uint8_t> bytes = ReadBytes(logoPath);
    const std::string package =
        Testing::ZipBuilder()
            .Add({"Resource/Logo.PNG", std::string(bytes.begin(), bytes.end()), "5318642", true, {}})
            .Build();
    const std::wstring packagePath = folder_ + L"VeltResource.dat";
    ASSERT_TRUE(WriteBytes(packagePath, package.data(), package.size()));
    ZipReader reader;
    ASSERT_TRUE(reader.Open(AsU16(packagePath), kPackagePassword));

    PlaceLogo(LoadPackageImage(kLogoMember, reader));
    SceneQuad logo = TheScene().logo;
    EXPECT_EQ(logo.texture, 1024);  // empty list
    EXPECT_EQ(logo.width, 120);
    EXPECT_EQ(logo.height, 40);
    EXPECT_EQ(logo.position.x, 0.0f);
    EXPECT_EQ(logo.position.y, 560.0f);

    LoadScenePictures({Picture(L"0.png", 20, 20), Picture(L"1.png", 20, 20),
                       Picture(L"2.png", 20, 20)});
    PlaceLogo(LoadPackageImage(kLogoMember, reader));
    EXPECT_EQ(TheScene().logo.texture, 3);

    PlaceLogo(LoadPackageImage(u"Resource/none.png", reader));  // the logo stays as it was
    EXPECT_EQ(TheScene().logo.texture, 3);
    reader.Close();
}

// A collection no larger than the slots flies as a list of its pictures
// always did: the same textures under the same names, the same slots.
// A larger one flies as many distinct pictures as there are slots.
TEST_F(SceneBuild, ACollectionFliesAsItsListWouldUntilItOutgrowsTheSlots) {
    const std::wstring photos = folder_ + L"photos\\";
    ASSERT_TRUE(CreateDirectoryW(photos.c_str(), nullptr));
    std::vector<std::wstring> expanded = {Picture(L"first.png", 300, 100)};
    for (int i = 0; i < 3; ++i) {
        expanded.push_back(Picture((L"photos\\" + std::to_wstring(i) + L".png").c_str(), 100 + i, 50));
    }
    const auto snapshot = [] {
        std::vector<std::tuple<int32_t, int32_t, int32_t>> textures;
        for (size_t i = 0; i < TheTextureList().Count(); ++i) {
            const TextureEntry& entry = TheTextureList().At(i);
            textures.emplace_back(entry.name, entry.width, entry.height);
        }
        // Sizes are drawn anew by each build: their proportion is the picture's.
        std::vector<std::tuple<int32_t, int64_t, float, float>> quads;
        for (const SceneQuad& quad : TheScene().quads) {
            quads.emplace_back(quad.texture, std::llround(quad.height / quad.width * 1e9),
                               quad.position.z, quad.velocity.y);
        }
        return std::make_pair(textures, quads);
    };
    LoadScenePictures(expanded);
    const auto asList = snapshot();
    ASSERT_EQ(asList.first.size(), 4u);
    ASSERT_EQ(asList.second.size(), 30u);
    Settings().pictures = {expanded[0], photos};
    ASSERT_TRUE(BuildScene(L"", true));
    EXPECT_EQ(snapshot(), asList);
    // A build that knows no folders takes a folder's line for a picture that
    // fails to load, and leaves it out.
    LoadScenePictures({photos, expanded[0]});
    ASSERT_EQ(TheTextureList().Count(), 1u);
    EXPECT_EQ(TheTextureList().At(0).name, 1);

    for (int i = 3; i < 40; ++i) Picture((L"photos\\" + std::to_wstring(i) + L".png").c_str(), 40, 10 + i);
    TheScene().scheme = Motion;
    ASSERT_TRUE(BuildScene(L"", true));
    std::set<int32_t> names;
    std::set<std::pair<int32_t, int32_t>> sizes;
    for (size_t i = 0; i < TheTextureList().Count(); ++i) {
        names.insert(TheTextureList().At(i).name);
        sizes.emplace(TheTextureList().At(i).width, TheTextureList().At(i).height);
    }
    EXPECT_EQ(TheTextureList().Count(), 10u);
    EXPECT_EQ(sizes.size(), 10u);
    ASSERT_EQ(TheScene().quads.size(), 10u);
    for (const SceneQuad& quad : TheScene().quads) EXPECT_EQ(names.count(quad.texture), 1u);
}
