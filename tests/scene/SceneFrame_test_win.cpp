#include "scene/SceneFrame_win.h"

#include <gtest/gtest.h>

#include "resources/TestPictures_win.h"
#include "scene/GlWindow_win.h"
#include "scene/RenderContext_win.h"
#include "scene/SceneBuild_win.h"
#include "scene/TextureList_win.h"

using namespace WorkSpace;
using namespace glwindow;
using namespace testpictures;

namespace {

int Brightness(uint32_t rgb) { return int(rgb >> 16 & 0xFF) + int(rgb >> 8 & 0xFF) + int(rgb & 0xFF); }

bool Near(uint32_t rgb, uint32_t expected, int tolerance = 8) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = int(rgb >> shift & 0xFF), b = int(expected >> shift & 0xFF);
        if (a - b > tolerance || b - a > tolerance) return false;
    }
    return true;
}

class SceneFrame : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = MakeTempFolder(L"frame");
        TheCamera().eye = RestingEye();
    }
    void TearDown() override {
        Scene& scene = TheScene();
        scene.quads.clear();
        scene.logo = SceneQuad();
        TheTextureList().Clear();
        DestroyGlContext();
        TheCamera().eye = Vec4{0, 0, 100, 1};
        RemoveTempFolder(folder_);
    }

    // Attaches a window of the given client size; the clear colour is 0x00BBGGRR.
    std::unique_ptr<GlWindow> Attach(int width, int height, uint32_t clearColor = 0) {
        auto window = std::make_unique<GlWindow>(width, height);
        EXPECT_TRUE(AttachWindow(window->Get()));
        TheRenderContext().clearColor = clearColor;
        EXPECT_TRUE(SetupProjection());
        return window;
    }

    // Returns the texture-list index of the picture file's texture, made under
    // `name` as the scene build makes it, or -1.
    static int32_t AddPicture(const std::wstring& path, int32_t name) {
        ImageHolder holder;
        if (!LoadPictureFile(holder, path, PowerOfTwoSide)) return -1;
        return TheTextureList().AddLoadedPicture(holder, name);
    }

    // One picture of 8 x 6 world units in the middle of the box, of one colour.
    void OnePicture(uint32_t argb) {
        const std::wstring path = folder_ + L"picture.png";
        ASSERT_TRUE(SavePicture(path, L"image/png", 400, 300, Solid(argb)));
        ASSERT_EQ(AddPicture(path, 0), 0);
        SceneQuad quad;
        quad.texture = 0;
        quad.width = 8;
        quad.height = 6;
        quad.position = {0, 0, 0, 1};
        TheScene().quads = {quad};
    }

    std::wstring folder_;
};

}  // namespace

TEST_F(SceneFrame, PictureAppearsWhereTheCameraPutsItWithItsBorder) {
    auto window = Attach(800, 600, 0xFFFFFF);
    OnePicture(0xFF3080E0);
    ASSERT_TRUE(RenderFrame(false));
    const Frame frame = ReadShownFrame(800, 600);
    SaveForReview(frame, L"scene_one_picture.bmp");
    // 45 degrees at 30 units: 300 pixels are 30 tan 22.5 = 12.43 units, so the
    // picture spans x 303..497 and y 228..372; its border ends 12 pixels out.
    EXPECT_TRUE(Near(frame.At(400, 300), 0x3080E0)) << std::hex << frame.At(400, 300);
    EXPECT_TRUE(Near(frame.At(310, 235), 0x3080E0));
    EXPECT_TRUE(Near(frame.At(490, 365), 0x3080E0));
    EXPECT_TRUE(Near(frame.At(400, 100), 0xFFFFFF));
    for (int y : {300, 240}) {
        const int inner = Brightness(frame.At(499, y));
        const int middle = Brightness(frame.At(503, y));
        const int outer = Brightness(frame.At(507, y));
        EXPECT_LT(inner, middle) << y;
        EXPECT_LT(middle, outer) << y;
        EXPECT_LT(inner, 200) << y;  // nearly black next to the picture
        EXPECT_EQ(frame.At(515, y), 0xFFFFFFu);
    }
    // The same fade above the picture and on the left.
    EXPECT_LT(Brightness(frame.At(400, 226)), Brightness(frame.At(400, 220)));
    EXPECT_LT(Brightness(frame.At(301, 300)), Brightness(frame.At(295, 300)));
}

TEST_F(SceneFrame, SmallWindowsAndProbeFramesShowOnlyTheBackground) {
    struct Case { int width, height; bool probe; bool showsPicture; };
    const Case cases[] = {
        {640, 480, false, true}, {639, 480, false, false}, {640, 479, false, false},
        {800, 600, true, false},
    };
    for (const Case& c : cases) {
        auto window = Attach(c.width, c.height, 0x0000FF);  // red background
        OnePicture(0xFF00FF00);
        ASSERT_TRUE(RenderFrame(c.probe));
        const Frame frame = ReadShownFrame(c.width, c.height);
        const uint32_t centre = frame.At(c.width / 2, c.height / 2);
        EXPECT_EQ(Near(centre, 0x00FF00), c.showsPicture) << c.width << "x" << c.height;
        if (!c.showsPicture) {
            for (uint32_t pixel : frame.pixels) ASSERT_EQ(pixel, 0xFF0000u) << c.width;
        }
        TheTextureList().Clear();
    }
}

TEST_F(SceneFrame, LogoIsDrawnOnlyWhenItWasLoaded) {
    auto window = Attach(800, 600);
    ASSERT_TRUE(RenderFrame(false));
    Frame frame = ReadShownFrame(800, 600);
    // No logo texture: no white square in the top-left corner.
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) EXPECT_EQ(frame.At(x, y), 0u) << x << "," << y;
    }
    const std::wstring path = folder_ + L"logo.png";
    ASSERT_TRUE(SavePicture(path, L"image/png", 120, 40,
                            [](int x, int) { return x < 60 ? 0xFF00FF00u : 0x00000000u; }));
    ImageHolder holder;
    SIZE size{0, 0};
    holder.image = DecodePictureFile(path, size);
    holder.width = size.cx;
    holder.height = size.cy;
    const TextureEntry entry = MakeTextureRGBA(holder, 1024);
    ASSERT_EQ(entry.kind, TextureObject);
    SceneQuad& logo = TheScene().logo;
    logo.texture = entry.name;
    logo.width = 120;
    logo.height = 40;
    logo.position = {0, 560, 0, 1};
    ASSERT_TRUE(RenderFrame(false));
    frame = ReadShownFrame(800, 600);
    SaveForReview(frame, L"scene_logo.bmp");
    EXPECT_TRUE(Near(frame.At(20, 580), 0x00FF00)) << std::hex << frame.At(20, 580);
    EXPECT_EQ(frame.At(100, 580), 0u);  // its transparent half lets the background through
    EXPECT_EQ(frame.At(20, 550), 0u);
    const GLuint name = 1024;
    glDeleteTextures(1, &name);
}

TEST_F(SceneFrame, NearerPictureCoversTheFartherOneFromEitherSide) {
    auto window = Attach(800, 600);
    const std::wstring red = folder_ + L"red.png", blue = folder_ + L"blue.png";
    ASSERT_TRUE(SavePicture(red, L"image/png", 64, 64, Solid(0xFFFF0000)));
    ASSERT_TRUE(SavePicture(blue, L"image/png", 64, 64, Solid(0xFF0000FF)));
    ASSERT_EQ(AddPicture(red, 0), 0);
    ASSERT_EQ(AddPicture(blue, 1), 1);
    SceneQuad back, front;
    back.texture = 0;
    back.width = back.height = 8;
    back.position = {0, 0, -5, 1};
    front = back;
    front.texture = 1;
    front.position.z = 5;
    TheScene().quads = {back, front};
    ASSERT_TRUE(RenderFrame(false));
    EXPECT_TRUE(Near(ReadShownFrame(800, 600).At(400, 300), 0x0000FF));
    // From behind (eye z at or below 0) the red picture is the nearer one.
    TheCamera().eye = Vec4{0.0f, 0.0f, -30.0f, 1.0f};
    ASSERT_TRUE(RenderFrame(false));
    EXPECT_TRUE(Near(ReadShownFrame(800, 600).At(400, 300), 0xFF0000));
}

TEST_F(SceneFrame, BuiltSceneShowsEveryPicture) {
    auto window = Attach(1024, 768);
    const uint32_t colours[3] = {0xFFE04020, 0xFF20C040, 0xFF3060E0};
    std::vector<std::wstring> pictures;
    for (int i = 0; i < 3; ++i) {
        pictures.push_back(folder_ + std::to_wstring(i) + L".jpg");
        ASSERT_TRUE(SavePicture(pictures.back(), L"image/jpeg", 400 + 200 * i, 300,
                                Solid(colours[i])));
    }
    TheScene().scheme = Motion;
    LoadScenePictures(pictures);
    std::vector<SceneQuad>& quads = TheScene().quads;
    ASSERT_EQ(quads.size(), 10u);
    // The three nearest slots show the three pictures; their random x positions
    // are replaced so that each stays in view.
    quads[7].position.x = 0.0f;
    quads[8].position.x = 6.0f;
    quads[9].position.x = -5.0f;
    AnimateScene();  // Motion lines the pictures up at y = 0
    ASSERT_TRUE(RenderFrame(false));
    const Frame frame = ReadShownFrame(1024, 768);
    SaveForReview(frame, L"scene_motion.bmp");
    for (uint32_t colour : colours) {
        size_t count = 0;
        for (uint32_t pixel : frame.pixels) count += Near(pixel, colour & 0xFFFFFF, 12);
        EXPECT_GT(count, 1000u) << std::hex << colour;
    }
    // Every quad lies on the row y = 0: the top and bottom quarters stay black.
    for (int x = 0; x < 1024; x += 8) {
        EXPECT_EQ(frame.At(x, 40), 0u);
        EXPECT_EQ(frame.At(x, 727), 0u);
    }
}

TEST_F(SceneFrame, WithoutAContextNothingIsDrawn) {
    OnePicture(0xFF00FF00);  // decoded and recorded without a context
    EXPECT_EQ(TheTextureList().At(0).width, 400);
    EXPECT_FALSE(GlReady());
    EXPECT_TRUE(AnimateScene());
    EXPECT_TRUE(RenderFrame(false));
}
