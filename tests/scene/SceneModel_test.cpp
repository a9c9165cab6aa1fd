#include "scene/SceneModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace WorkSpace;

namespace {

std::vector<PictureInfo> Pictures(int count, int32_t width = 400, int32_t height = 300) {
    std::vector<PictureInfo> infos;
    for (int i = 0; i < count; ++i) infos.push_back({true, width, height, i});
    return infos;
}

Scene SceneWith(int32_t scheme, const std::vector<PictureInfo>& infos, uint32_t seed = 7) {
    Scene scene;
    scene.scheme = scheme;
    EXPECT_TRUE(FillSlots(scene, infos, seed));
    return scene;
}

}  // namespace

TEST(RuntimeRandom, ReproducesTheRuntimeSequence) {
    RuntimeRandom random;
    random.Seed(1);
    const int32_t seedOne[] = {41, 18467, 6334, 26500, 19169};
    for (int32_t expected : seedOne) EXPECT_EQ(random.Next(), expected);
    random.Seed(0);
    EXPECT_EQ(random.Next(), 38);
    EXPECT_EQ(random.Next(), 7719);
    random.Seed(0xFFFFFFFFu);  // the state wraps at 2^32
    EXPECT_EQ(random.Next(), int32_t(((0xFFFFFFFFu * 214013u + 2531011u) >> 16) & 0x7FFF));
}

TEST(FillSlots, ThreePicturesUnderRotationFillThirtySlots) {
    Scene scene = SceneWith(Rotation, Pictures(3, 400, 300));
    ASSERT_EQ(scene.quads.size(), 30u);
    RuntimeRandom random;
    random.Seed(7);
    for (int j = 0; j < 30; ++j) {
        const SceneQuad& quad = scene.quads[size_t(j)];
        EXPECT_EQ(quad.texture, j % 3);
        EXPECT_NEAR(quad.position.z, 4.0 * j / 3.0 - 20.0, 1e-5) << j;
        EXPECT_NEAR(quad.velocity.y, -1.0 - j / 15.0, 1e-6) << j;
        EXPECT_EQ(quad.velocity.x, 0.0f);
        EXPECT_EQ(quad.velocity.z, 0.0f);
        // Draws in this order: width, x, y.
        const double width = random.Next() % 5 + 5;
        EXPECT_EQ(quad.width, width);
        EXPECT_DOUBLE_EQ(quad.height, width * 300 / 400);
        EXPECT_EQ(quad.position.x, float(random.Next() % 40 - 20));
        EXPECT_EQ(quad.position.y, float(random.Next() % 40 - 20));
    }
    EXPECT_FLOAT_EQ(scene.quads.back().position.z, 18.666666f);
}

TEST(FillSlots, SlotCountsAndDepthsPerScheme) {
    struct Case { int32_t scheme; size_t quads; float lastZ; float lastVelocityY; };
    const Case cases[] = {
        {Rotation, 30, 18.666666f, -2.9333333f},
        {Motion, 10, 16.0f, -2.8f},
        {FallRotation, 30, 18.666666f, -2.9333333f},
        {9, 30, 18.666666f, -2.9333333f},  // unknown scheme: 30 slots, still
    };
    for (const Case& c : cases) {
        Scene scene = SceneWith(c.scheme, Pictures(2));
        ASSERT_EQ(scene.quads.size(), c.quads) << c.scheme;
        EXPECT_FLOAT_EQ(scene.quads.front().position.z, -20.0f);
        EXPECT_FLOAT_EQ(scene.quads.back().position.z, c.lastZ);
        EXPECT_FLOAT_EQ(scene.quads.back().velocity.y, c.lastVelocityY);
        for (size_t j = 1; j < scene.quads.size(); ++j) {
            EXPECT_LT(scene.quads[j - 1].position.z, scene.quads[j].position.z);
        }
    }
}

TEST(FillSlots, SlotsCycleOverLoadedPicturesOnly) {
    // Picture 1 of three failed: the list holds the entries named 0 and 2.
    std::vector<PictureInfo> infos = {{true, 400, 300, 0}, {true, 100, 200, 2}};
    Scene scene = SceneWith(Rotation, infos);
    ASSERT_EQ(scene.quads.size(), 30u);
    for (size_t j = 0; j < 30; ++j) {
        const SceneQuad& quad = scene.quads[j];
        EXPECT_EQ(quad.texture, j % 2 == 0 ? 0 : 2) << j;
        EXPECT_DOUBLE_EQ(quad.height / quad.width, j % 2 == 0 ? 0.75 : 2.0) << j;
    }
    // Records that are not textures, or have no size, are passed over.
    infos = {{false, 10, 10, 0}, {true, 0, 5, 1}, {true, 64, 64, 2}};
    scene = SceneWith(Motion, infos);
    ASSERT_EQ(scene.quads.size(), 10u);
    for (const SceneQuad& quad : scene.quads) EXPECT_EQ(quad.texture, 2);
}

TEST(FillSlots, SameSeedSameLayoutOtherSeedOtherSizes) {
    const Scene a = SceneWith(Rotation, Pictures(5), 1000);
    const Scene b = SceneWith(Rotation, Pictures(5), 1000);
    const Scene c = SceneWith(Rotation, Pictures(5), 1001);
    int differ = 0;
    for (size_t j = 0; j < 30; ++j) {
        EXPECT_EQ(a.quads[j].width, b.quads[j].width);
        EXPECT_EQ(a.quads[j].position.x, b.quads[j].position.x);
        EXPECT_EQ(a.quads[j].position.z, c.quads[j].position.z);
        EXPECT_EQ(a.quads[j].velocity.y, c.quads[j].velocity.y);
        differ += a.quads[j].position.x != c.quads[j].position.x;
    }
    EXPECT_GT(differ, 0);
}

TEST(FillSlots, NoPictureGivesAnEmptyScene) {
    Scene scene = SceneWith(Rotation, Pictures(3));
    ASSERT_FALSE(scene.quads.empty());
    EXPECT_TRUE(FillSlots(scene, {}, 1));
    EXPECT_TRUE(scene.quads.empty());
    EXPECT_TRUE(FillSlots(scene, {{false, 10, 10, 0}}, 1));
    EXPECT_TRUE(scene.quads.empty());
}

TEST(MonitorPictures, EachMonitorTakesTheNextSlotsWorthWrappingWhenFewerLoaded) {
    struct Case {
        int loaded;
        size_t monitor;
        int32_t slots;
        int first;   // name of the first picture the monitor takes
        size_t count;
    };
    const Case cases[] = {
        {60, 0, 30, 0, 30},  {60, 1, 30, 30, 30},  // enough: different pictures on each
        {40, 1, 30, 30, 30},                        // 30..39, then 0..19
        {3, 0, 30, 0, 3},    {3, 1, 30, 0, 3},      // fewer than one monitor's slots: all on each
        {20, 1, 10, 10, 10}, {20, 2, 10, 0, 10},    // Motion's ten slots
        {0, 0, 30, 0, 0},
    };
    for (const Case& c : cases) {
        const std::vector<PictureInfo> share = MonitorPictures(Pictures(c.loaded), c.monitor, c.slots);
        ASSERT_EQ(share.size(), c.count) << c.loaded << " loaded, monitor " << c.monitor;
        for (size_t k = 0; k < share.size(); ++k) {
            EXPECT_EQ(share[k].name, int32_t((size_t(c.first) + k) % size_t(c.loaded)))
                << c.loaded << " loaded, monitor " << c.monitor << ", picture " << k;
        }
    }
}

TEST(MonitorPictures, TheFirstMonitorFliesWhatOneMonitorAlwaysFlew) {
    for (int loaded : {1, 3, 7, 30}) {
        const Scene alone = SceneWith(Rotation, Pictures(loaded));
        const Scene first = SceneWith(Rotation, MonitorPictures(Pictures(loaded), 0, 30));
        ASSERT_EQ(first.quads.size(), alone.quads.size());
        for (size_t j = 0; j < alone.quads.size(); ++j) {
            EXPECT_EQ(first.quads[j].texture, alone.quads[j].texture) << loaded << " loaded";
            EXPECT_EQ(first.quads[j].position.x, alone.quads[j].position.x);
        }
    }
}

TEST(Scenes, MonitorsShareTheCameraPathAndDrawApart) {
    for (int32_t scheme : {Rotation, Falling, Approach, Motion, FallRotation}) {
        std::vector<Scene> scenes(1);
        scenes[0].scheme = scheme;
        Vec4 eye;
        AnimateScenes(scenes, eye, 1000, 100);  // the first scene's camera moves on alone
        SizeScenes(scenes, 2);
        ASSERT_EQ(scenes.size(), 2u);
        EXPECT_EQ(scenes[1].scheme, scheme);
        for (size_t m = 0; m < scenes.size(); ++m) {
            ASSERT_TRUE(FillSlots(scenes[m], Pictures(3), MonitorSeed(7, m)));
        }
        EXPECT_NE(scenes[0].quads[0].position.x, scenes[1].quads[0].position.x);
        Vec4 lone = eye;
        std::vector<Scene> alone = {scenes[0]};
        for (uint32_t tick = 1001; tick < 1200; ++tick) {
            AnimateScenes(scenes, eye, tick * 37, 100 + tick / 50);
            AnimateScenes(alone, lone, tick * 37, 100 + tick / 50);
            ASSERT_EQ(eye.x, lone.x) << scheme;
            ASSERT_EQ(eye.y, lone.y) << scheme;
            ASSERT_EQ(eye.z, lone.z) << scheme;
        }
        // The first monitor moves as it would alone.
        EXPECT_EQ(scenes[0].quads[5].position.y, alone[0].quads[5].position.y) << scheme;
    }
}
