#include "scene/PictureSwaps_win.h"

#include <gtest/gtest.h>

#include <set>

#include "resources/TestPictures_win.h"
#include "scene/PictureCache_win.h"
#include "scene/SceneBuild_win.h"
#include "settings/PictureSettings_win.h"

using namespace WorkSpace;
using namespace testpictures;

// A collection larger than the slots goes round: a quad that wraps re-enters
// as the next picture, keeping its slot, place, velocity, width and texture
// name, with the new picture's proportions; the one after waits for the
// next wrap, and a wrap with nothing new keeps its picture.
TEST(PictureSwaps, AWrappedQuadTakesTheNextPictureInItsPlace) {
    const std::wstring folder = MakeTempFolder(L"swaps");
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(SavePicture(folder + std::to_wstring(i) + L".png", L"image/png", 40 + 10 * i, 30,
                                Solid(0xFF202020)));
    }
    Settings().pictures = {folder};
    TheScene().scheme = Motion;
    SceneBuilder builder;
    builder.Start(L"", true, 1);
    while (!builder.Step()) builder.Wait();
    ASSERT_TRUE(builder.Turns());
    ASSERT_EQ(TheScene().quads.size(), 10u);
    std::set<int32_t> widthsShown;
    for (size_t i = 0; i < TheTextureList().Count(); ++i) widthsShown.insert(TheTextureList().At(i).width);
    ASSERT_EQ(widthsShown.size(), 10u);

    PictureSwaps swaps;
    swaps.Start(builder.Turns());
    Scene& scene = TheScene();
    const auto wrapQuad = [&](size_t slot) {
        scene.quads[slot].position.x = 24.995f;
        Vec4 eye;
        AnimateScene(scene, eye, 0, 0);
        return swaps.AfterTick(scene, TheTextureList());
    };
    for (size_t slot : {4u, 6u}) {
        SCOPED_TRACE(slot);
        const SceneQuad before = scene.quads[slot];
        bool swapped = false;
        for (int attempt = 0; attempt < 500 && !swapped; ++attempt) {
            swapped = wrapQuad(slot);
            if (!swapped) Sleep(20);
        }
        ASSERT_TRUE(swapped);
        const SceneQuad& after = scene.quads[slot];
        EXPECT_EQ(after.texture, before.texture);
        EXPECT_EQ(after.width, before.width);
        EXPECT_EQ(after.position.x, -25.0f);
        EXPECT_EQ(after.position.z, before.position.z);
        EXPECT_EQ(after.velocity.y, before.velocity.y);
        int32_t newWidth = 0;
        for (size_t i = 0; i < TheTextureList().Count(); ++i) {
            if (TheTextureList().At(i).name == after.texture) newWidth = TheTextureList().At(i).width;
        }
        EXPECT_EQ(widthsShown.count(newWidth), 0u) << newWidth;  // a picture not on screen
        EXPECT_DOUBLE_EQ(after.height, after.width * 30 / newWidth);
        widthsShown.insert(newWidth);
    }
    // Without a wrap nothing is swapped.
    const SceneQuad still = scene.quads[2];
    Vec4 eye;
    AnimateScene(scene, eye, 0, 0);
    EXPECT_FALSE(swaps.AfterTick(scene, TheTextureList()));
    EXPECT_EQ(scene.quads[2].height, still.height);

    swaps.Stop();
    TheScene() = Scene();
    TheTextureList().Clear();
    Settings() = PictureSettings();
    RemoveTempFolder(folder);
}

// While the wraps have their pictures, the thread puts the next pictures of
// the order into the picture cache: the spares of this start and the rest of
// the round, so that the next start decodes nothing.
TEST(PictureSwaps, TheNextStartsPicturesAreMadeReadyInTheCache) {
    const std::wstring folder = MakeTempFolder(L"ready");
    for (int i = 0; i < 40; ++i) {
        const std::wstring path = folder + std::to_wstring(i) + L".png";
        ASSERT_TRUE(SavePicture(path, L"image/png", 40 + i, 30, Solid(0xFF202020)));
        ASSERT_TRUE(AgeFile(path, 1));  // a picture written just now is not kept
    }
    const std::wstring cache = UserPictureCacheFolder() + L"\\";
    RemoveTempFolder(cache);
    Settings().pictures = {folder};
    TheScene().scheme = Motion;
    SceneBuilder builder;
    builder.Start(L"", true, 1);
    while (!builder.Step()) builder.Wait();
    PictureSwaps swaps;
    swaps.Start(builder.Turns());
    // The 10 flying, kept by the build, and the 30 still to come in this round.
    for (int i = 0; i < 1000 && WorkSpace::Testing::CountFiles(cache) < 40; ++i) Sleep(20);
    EXPECT_EQ(WorkSpace::Testing::CountFiles(cache), 40);

    swaps.Stop();
    TheScene() = Scene();
    TheTextureList().Clear();
    Settings() = PictureSettings();
    RemoveTempFolder(folder);
    RemoveTempFolder(cache);
}
