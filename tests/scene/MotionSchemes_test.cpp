#include "scene/SceneModel.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace WorkSpace;

namespace {

Scene OneQuad(int32_t scheme, float x, float y, float z, float velocityY) {
    Scene scene;
    scene.scheme = scheme;
    SceneQuad quad;
    quad.width = 5;
    quad.height = 5;
    quad.position = {x, y, z, 1};
    quad.velocity = {0, velocityY, 0, 1};
    scene.quads.push_back(quad);
    return scene;
}

}  // namespace

TEST(Rotation, EyeFollowsTheTurnAndRests) {
    struct Case { uint32_t tick; float x, y, z; };
    const Case cases[] = {
        {0, 0.0014f, 0.0f, 30.0f},
        {15000, 0.0014f, 0.0f, 30.0f},       // the cycle follows the tick count
        {2500, -0.1311f, 25.0f, -79.9999f},
        {4999, 0.1353f, 0.02f, 30.04f},
        {5000, 0.0014f, 0.0f, 30.0f},
        {14999, 0.0014f, 0.0f, 30.0f},
    };
    for (const Case& c : cases) {
        Scene scene;
        Vec4 eye{0, 0, 100, 1};
        AnimateScene(scene, eye, c.tick, 0);
        EXPECT_NEAR(eye.x, c.x, 2e-3) << c.tick;
        EXPECT_NEAR(eye.y, c.y, 2e-3) << c.tick;
        EXPECT_NEAR(eye.z, c.z, 2e-3) << c.tick;
        EXPECT_EQ(scene.cyclePrevious, int32_t(c.tick % 15000));
    }
}

TEST(Rotation, QuadsSinkOnlyInTheRestPhase) {
    Scene scene = OneQuad(Rotation, 0, 0, 0, -2);
    Vec4 eye;
    AnimateScene(scene, eye, 4000, 0);
    AnimateScene(scene, eye, 5000, 0);  // 5000 itself does not move
    EXPECT_EQ(scene.quads[0].position.y, 0.0f);
    AnimateScene(scene, eye, 5001, 0);
    EXPECT_FLOAT_EQ(scene.quads[0].position.y, -2 * float(1 * 0.0005));
    AnimateScene(scene, eye, 15000 + 7001, 0);
    EXPECT_FLOAT_EQ(scene.quads[0].position.y, -0.001f - 2 * float(2000 * 0.0005));
}

TEST(Rotation, FirstTickOfAProcessMovesFromMinusOne) {
    Scene scene = OneQuad(Rotation, 0, 0, 0, -1);
    Vec4 eye;
    AnimateScene(scene, eye, 6000, 0);
    EXPECT_FLOAT_EQ(scene.quads[0].position.y, -float(6001 * 0.0005));
    // A longer first step overshoots the box and comes back at the top.
    scene = OneQuad(Rotation, 0, 0, 0, -3);
    AnimateScene(scene, eye, 14999, 0);
    EXPECT_EQ(scene.quads[0].position.y, 20.0f);
}

TEST(WrapAround, CoordinateBeyondTheBoundComesBackAtTheOtherBound) {
    struct Case { int32_t scheme; float y; float velocityY; float expectedY; };
    const Case cases[] = {
        {Rotation, 20.3f, 0.0f, -20.0f},
        {Rotation, 20.0f, 0.0f, 20.0f},
        {Rotation, -20.0f, 0.0f, -20.0f},
        {Rotation, -20.5f, 0.0f, 20.0f},
        {Falling, -19.995f, -1.0f, 20.0f},
    };
    for (const Case& c : cases) {
        Scene scene = OneQuad(c.scheme, 0, c.y, 0, c.velocityY);
        scene.cyclePrevious = 5999;
        Vec4 eye;
        // 6000 ms moves by one ms worth of velocity; a fixed second keeps
        // Falling's drop draw known.
        AnimateScene(scene, eye, 6000, 0);
        if (c.scheme == Falling) {
            RuntimeRandom random;
            random.Seed(0);
            if ((random.Next() % 1000) / 900 != 0) continue;
        }
        EXPECT_EQ(scene.quads[0].position.y, c.expectedY) << c.y;
    }
    Scene motion = OneQuad(Motion, 24.995f, 3, 0, -1);
    Vec4 eye;
    AnimateScene(motion, eye, 0, 0);
    EXPECT_EQ(motion.quads[0].position.x, -25.0f);
    EXPECT_EQ(motion.quads[0].position.y, 0.0f);
}

// The wrap names its quad, for the collection to go round; a picture swapped
// in then keeps the quad's slot, place, velocity and width, with its own
// proportions.
TEST(WrapAround, NamesTheQuadsThatWrappedAndASwapKeepsThePlace) {
    Scene scene;
    scene.scheme = Motion;
    std::vector<PictureInfo> infos = {{true, 400, 300, 0}, {true, 300, 400, 1}};
    ASSERT_TRUE(FillSlots(scene, infos, 42));
    ASSERT_EQ(scene.quads.size(), 10u);
    scene.quads[3].position.x = 24.995f;
    scene.quads[7].position.x = 24.995f;
    Vec4 eye;
    AnimateScene(scene, eye, 0, 0);
    EXPECT_EQ(scene.wrapped, (std::vector<uint32_t>{3, 7}));
    const SceneQuad before = scene.quads[3];
    SwapQuadPicture(scene.quads[3], 1920, 1080);
    const SceneQuad& after = scene.quads[3];
    EXPECT_EQ(after.texture, before.texture);
    EXPECT_EQ(after.width, before.width);
    EXPECT_DOUBLE_EQ(after.height, before.width * 1080 / 1920);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ((&after.position.x)[i], (&before.position.x)[i]);
        EXPECT_EQ((&after.velocity.x)[i], (&before.velocity.x)[i]);
    }
    AnimateScene(scene, eye, 0, 0);
    EXPECT_TRUE(scene.wrapped.empty());
}

TEST(Falling, TicksOfOneSecondDropTheSameQuads) {
    Scene scene;
    scene.scheme = Falling;
    for (int j = 0; j < 30; ++j) {
        SceneQuad quad;
        quad.position = {0, 0, float(j) - 15, 1};
        quad.velocity = {0, -1, 0, 1};
        scene.quads.push_back(quad);
    }
    RuntimeRandom random;
    random.Seed(1234567);
    std::vector<int> drops;
    for (int j = 0; j < 30; ++j) drops.push_back((random.Next() % 1000) / 900);
    Vec4 eye{0, 0, 100, 1};
    for (int tick = 1; tick <= 2; ++tick) {
        AnimateScene(scene, eye, 0, 1234567);
        for (size_t j = 0; j < 30; ++j) {
            EXPECT_NEAR(scene.quads[j].position.y, tick * (-0.01 - drops[j]), 1e-5) << j;
        }
    }
    EXPECT_NEAR(eye.z, 30.0f, 1e-4);
    EXPECT_NEAR(eye.x, 0.0014f, 1e-4);
}

TEST(Approach, TurnsOnTheTickItFirstExceeds25) {
    Scene scene = OneQuad(Approach, 0, 0, 0, -1.2f);
    Vec4 eye;
    int turnTick = 0;
    for (int tick = 1; tick <= 1300 && turnTick == 0; ++tick) {
        AnimateScene(scene, eye, 0, 0);
        if (scene.approachStep < 0) turnTick = tick;
    }
    EXPECT_EQ(turnTick, 1250);
    EXPECT_GT(scene.approachOffset, 25.0f);
    EXPECT_NEAR(eye.z, 55.0f, 0.05f);
    // tan(-1.2) is about -2.572: the picture drifts down.
    EXPECT_NEAR(scene.quads[0].position.y, 1250 * std::tan(-1.2) * 0.005, 1e-2);
    AnimateScene(scene, eye, 0, 0);
    EXPECT_LT(scene.approachOffset, 25.0f);
}

TEST(Approach, VelocityBeyondHalfPiDriftsUp) {
    Scene scene = OneQuad(Approach, 0, 0, 0, -2.0f);
    Vec4 eye;
    AnimateScene(scene, eye, 0, 0);
    EXPECT_GT(scene.quads[0].position.y, 0.0f);
    EXPECT_EQ(scene.quads[0].position.x, 0.0f);
}

TEST(FallRotation, FirstTickSwaysTheEye) {
    Scene scene;
    scene.scheme = FallRotation;
    Vec4 eye;
    AnimateScene(scene, eye, 0, 0);
    EXPECT_NEAR(eye.x, 19.996f, 1e-3);
    EXPECT_EQ(eye.y, 0.0f);
    EXPECT_NEAR(eye.z, 25.001f, 1e-3);
    EXPECT_FLOAT_EQ(scene.swayAngle, 0.02f);
}

TEST(UnknownScheme, NothingMoves) {
    Scene scene = OneQuad(9, 1, 2, 3, -1);
    Vec4 eye{0, 0, 100, 1};
    AnimateScene(scene, eye, 6000, 99);
    EXPECT_EQ(eye.z, 100.0f);
    EXPECT_EQ(scene.quads[0].position.y, 2.0f);
    EXPECT_EQ(scene.cyclePrevious, -1);
}
