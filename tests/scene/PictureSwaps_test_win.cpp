#include "scene/PictureSwaps_win.h"

#include <gtest/gtest.h>

#include <set>

#include "resources/TestPictures_win.h"
#include "scene/GlWindow_win.h"
#include "scene/RenderContext_win.h"
#include "scene/PictureCache_win.h"
#include "scene/SceneBuild_win.h"
#include "settings/PictureSettings_win.h"

using namespace WorkSpace;
using namespace testpictures;

namespace {

const TextureEntry* NamedIn(const TextureList& list, int32_t name) {
    for (size_t i = 0; i < list.Count(); ++i) {
        if (list.At(i).name == name) return &list.At(i);
    }
    return nullptr;
}

bool ShownByAnother(const Scene& scene, size_t slot) {
    for (size_t i = 0; i < scene.quads.size(); ++i) {
        if (i != slot && scene.quads[i].texture == scene.quads[slot].texture) return true;
    }
    return false;
}

}  // namespace

// A collection larger than the slots goes round: a quad that wraps re-enters
// as the next picture, keeping its slot, place, velocity and width, with the
// new picture's proportions; the one after waits for the
// next wrap, and a wrap with nothing new keeps its picture.
TEST(PictureSwaps, AWrappedQuadTakesTheNextPictureInItsPlace) {
    const std::wstring folder = MakeTempFolder(L"swaps");
    // Picture i is 40 + 10 i pixels wide, and its red is 6 i.
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(SavePicture(folder + std::to_wstring(i) + L".png", L"image/png", 40 + 10 * i, 30,
                                Solid(0xFF004080u | uint32_t(6 * i) << 16)));
    }
    glwindow::GlWindow window(640, 480);
    ASSERT_TRUE(AttachWindow(window.Get()));
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
    swaps.Start(builder.Turns(), SceneTextureRules());
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
        // A texture of its own, under a name no other quad or entry had.
        EXPECT_FALSE(ShownByAnother(scene, slot));
        EXPECT_EQ(NamedIn(TheTextureList(), before.texture), nullptr);
        EXPECT_EQ(after.width, before.width);
        EXPECT_EQ(after.position.x, -25.0f);
        EXPECT_EQ(after.position.z, before.position.z);
        EXPECT_EQ(after.velocity.y, before.velocity.y);
        const TextureEntry* entry = NamedIn(TheTextureList(), after.texture);
        ASSERT_NE(entry, nullptr);
        const int32_t newWidth = entry->width;
        EXPECT_EQ(widthsShown.count(newWidth), 0u) << newWidth;  // a picture not on screen
        EXPECT_DOUBLE_EQ(after.height, after.width * 30 / newWidth);
        // Every level of the new texture holds the picture's colour.
        glBindTexture(GL_TEXTURE_2D, GLuint(after.texture));
        for (GLint level : {0, 5}) {
            GLint w = 0, h = 0;
            glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
            ASSERT_GT(w * h, 0) << level;
            std::vector<uint8_t> texels(size_t(w) * size_t(h) * 4);
            glGetTexImage(GL_TEXTURE_2D, level, GL_BGRA_EXT, GL_UNSIGNED_BYTE, texels.data());
            const size_t middle = (size_t(h / 2) * size_t(w) + size_t(w / 2)) * 4;
            EXPECT_EQ(texels[middle + 0], 0x80) << level;
            EXPECT_EQ(texels[middle + 1], 0x40) << level;
            EXPECT_EQ(texels[middle + 2], 6 * (newWidth - 40) / 10) << level;
        }
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
    DestroyGlContext();
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
    swaps.Start(builder.Turns(), SceneTextureRules());
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
