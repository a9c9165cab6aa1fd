#include "scene/TexturePlan.h"

#include <gtest/gtest.h>

#include "scene/SceneModel.h"

using namespace WorkSpace;

// A picture's texture is as large as it appears on screen in the nearest slot
// it fills: slot depth, scheme, window size, picture size, the card's largest
// texture and the memory budget in; texture sides out.
TEST(TexturePlan, EachSlotsTextureIsAsLargeAsItsPictureAppears) {
    constexpr uint64_t kAmple = kTextureBudgetBytes64;
    struct Case {
        const char* what;
        int32_t scheme, slot, windowWidth, windowHeight, largest;
        uint64_t budget;
        int32_t pictureWidth, pictureHeight;
        int32_t width, height;
    };
    const Case cases[] = {
        {"12 MP photo, nearest slot, 1080p", Rotation, 29, 1920, 1080, 8192, kAmple, 4000, 3000, 1024, 1024},
        {"12 MP photo, nearest slot, 2160p", Rotation, 29, 3840, 2160, 8192, kAmple, 4000, 3000, 2048, 2048},
        {"12 MP photo, farthest slot, 1080p", Rotation, 0, 1920, 1080, 8192, kAmple, 4000, 3000, 256, 128},
        {"middle slot, 1080p", Rotation, 15, 1920, 1080, 8192, kAmple, 4000, 3000, 512, 256},
        {"portrait photo keeps its height", Rotation, 29, 1920, 1080, 8192, kAmple, 3000, 4000, 1024, 1024},
        {"no more than the picture's own size", Rotation, 29, 1920, 1080, 8192, kAmple, 300, 200, 512, 256},
        {"a tiny picture", Rotation, 29, 1920, 1080, 8192, kAmple, 10, 10, 16, 16},
        {"the card's largest texture", Rotation, 29, 3840, 2160, 512, kAmple, 4000, 3000, 512, 512},
        {"Fall Rotation sways nearer", FallRotation, 29, 1920, 1080, 8192, kAmple, 4000, 3000, 2048, 1024},
        {"Motion's ten slots", Motion, 9, 1920, 1080, 8192, kAmple, 4000, 3000, 1024, 512},
        {"a small preview shows no scene: the classic table", Rotation, 29, 639, 479, 8192, kAmple, 4000, 3000, 256, 256},
        {"the budget binds: the farthest gives way", Rotation, 0, 3840, 2160, 8192, 100u << 20, 4000, 3000, 256, 256},
        {"the budget binds: the nearest keeps its size", Rotation, 29, 3840, 2160, 8192, 100u << 20, 4000, 3000, 2048, 2048},
    };
    for (const Case& c : cases) {
        const std::vector<TextureSideRule> rules =
            SlotTextureRules(c.scheme, c.windowWidth, c.windowHeight, c.largest, c.budget);
        ASSERT_EQ(rules.size(), size_t(SlotCount(c.scheme))) << c.what;
        const TextureShape shape = rules[size_t(c.slot)].Shape(c.pictureWidth, c.pictureHeight);
        EXPECT_EQ(shape.width, c.width) << c.what;
        EXPECT_EQ(shape.height, c.height) << c.what;
    }
}

// However small the budget, the scene fits it as far as 16-texel sides allow,
// no slot is larger than a nearer one, and a picture takes the nearest slot it
// fills: with three pictures, picture 0 flies in slots 0, 3, ... 27.
TEST(TexturePlan, BudgetAndPictureSlots) {
    for (uint64_t budget : {uint64_t(1) << 20, uint64_t(40) << 20, kTextureBudgetBytes32}) {
        const std::vector<TextureSideRule> rules = SlotTextureRules(Rotation, 3840, 2160, 8192, budget);
        uint64_t total = 0;
        int32_t previous = 0;
        for (const TextureSideRule& rule : rules) {
            const int32_t side = rule.Shape(1 << 20, 1 << 20).width;
            EXPECT_GE(side * 2, previous) << budget;  // halved farthest first, one step a round
            previous = std::max(previous, side);
            total += uint64_t(side) * uint64_t(side) * 16 / 3;
        }
        EXPECT_TRUE(total <= budget || total == 30u * 16 * 16 * 16 / 3) << budget;
    }
    const std::vector<TextureSideRule> rules = SlotTextureRules(Rotation, 1920, 1080, 8192, kTextureBudgetBytes64);
    EXPECT_EQ(PictureTextureRule(rules, 0, 3).ScreenWidth(), rules[27].ScreenWidth());
    EXPECT_EQ(PictureTextureRule(rules, 2, 3).ScreenWidth(), rules[29].ScreenWidth());
    EXPECT_EQ(PictureTextureRule(rules, 5, 100).ScreenWidth(), rules[5].ScreenWidth());
    EXPECT_EQ(PictureTextureRule(rules, 70, 100).ScreenWidth(), rules[29].ScreenWidth());
    EXPECT_EQ(PictureTextureRule({}, 4, 10).ScreenWidth(), 0);
}
