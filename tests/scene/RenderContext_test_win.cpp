#include "scene/RenderContext_win.h"

#include <gtest/gtest.h>

#include "resources/TestPictures_win.h"
#include "scene/GlWindow_win.h"
#include "scene/TextureList_win.h"

using namespace WorkSpace;
using namespace glwindow;

namespace {

class RenderContextTest : public ::testing::Test {
protected:
    void TearDown() override {
        TheTextureList().Clear();
        DestroyGlContext();
    }
};

GLint TextureLevelSize(GLuint name, GLint level, GLenum which) {
    GLint value = -1;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, which, &value);
    return value;
}

}  // namespace

TEST_F(RenderContextTest, ContextFollowsItsWindow) {
    auto first = std::make_unique<GlWindow>(320, 200);
    ASSERT_TRUE(AttachWindow(first->Get()));
    EXPECT_TRUE(GlReady());
    const RenderContext& context = TheRenderContext();
    EXPECT_EQ(context.clearColor, 0u);
    EXPECT_EQ(context.attachedRect.right, 320);
    EXPECT_EQ(context.attachedRect.bottom, 200);
    PIXELFORMATDESCRIPTOR format{};
    DescribePixelFormat(context.deviceContext.Get(), GetPixelFormat(context.deviceContext.Get()),
                        sizeof format, &format);
    EXPECT_TRUE(format.dwFlags & PFD_DOUBLEBUFFER);
    EXPECT_GT(format.cDepthBits, 0);
    EXPECT_GE(format.cColorBits, 24);
    GLboolean enabled[5];
    const GLenum caps[5] = {GL_DEPTH_TEST, GL_ALPHA_TEST, GL_TEXTURE_2D, GL_BLEND, GL_LINE_SMOOTH};
    for (int i = 0; i < 5; ++i) enabled[i] = glIsEnabled(caps[i]);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(enabled[i]) << i;

    // A second window takes the context over.
    auto second = std::make_unique<GlWindow>(200, 100);
    ASSERT_TRUE(AttachWindow(second->Get()));
    EXPECT_EQ(TheRenderContext().window, second->Get());
    EXPECT_EQ(TheCamera().window, second->Get());

    DestroyGlContext();
    EXPECT_FALSE(GlReady());
    EXPECT_EQ(TheRenderContext().window, nullptr);
    DestroyGlContext();  // safe twice

    const HWND gone = first->Get();
    first.reset();
    EXPECT_FALSE(CreateGlContext(gone));
    EXPECT_FALSE(GlReady());
    EXPECT_FALSE(CreateGlContext(nullptr));
    EXPECT_FALSE(AttachWindow(gone));
    EXPECT_EQ(TheRenderContext().attachedWindow, gone);  // kept for the logo's placement
}

TEST_F(RenderContextTest, CameraMeasuresOnlyWhenItsValuesChange) {
    auto window = std::make_unique<GlWindow>(400, 200);
    ASSERT_TRUE(AttachWindow(window->Get()));
    ASSERT_TRUE(SetupProjection());
    Camera& camera = TheCamera();
    EXPECT_DOUBLE_EQ(camera.aspect, 2.0);
    EXPECT_TRUE(camera.projectionDirty);
    camera.Apply();
    EXPECT_FALSE(camera.projectionDirty);

    SetWindowPos(window->Get(), nullptr, 0, 0, 300, 300, SWP_NOZORDER | SWP_NOMOVE);
    GlWindow::Pump();
    camera.Configure(45, 1, 400);  // same values: no new measure
    EXPECT_DOUBLE_EQ(camera.aspect, 2.0);
    camera.Configure(45.005, 1, 400);
    EXPECT_DOUBLE_EQ(camera.fovy, 45.0);
    EXPECT_FALSE(camera.projectionDirty);
    camera.Configure(45.02, 1, 400);
    EXPECT_DOUBLE_EQ(camera.fovy, 45.02);
    EXPECT_DOUBLE_EQ(camera.aspect, 1.0);
    EXPECT_TRUE(camera.projectionDirty);
    camera.Configure(45, -1, 0);  // only positive values are stored
    EXPECT_DOUBLE_EQ(camera.fovy, 45.0);
    EXPECT_DOUBLE_EQ(camera.zNear, 1.0);
    EXPECT_DOUBLE_EQ(camera.zFar, 400.0);

    SetWindowPos(window->Get(), nullptr, 0, 0, 300, 0, SWP_NOZORDER | SWP_NOMOVE);
    GlWindow::Pump();
    ASSERT_TRUE(SetupProjection());
    EXPECT_DOUBLE_EQ(camera.aspect, 300.0);  // a height of 0 counts as 1
}

TEST_F(RenderContextTest, ClearColourIsPackedRedInTheLowByte) {
    auto window = std::make_unique<GlWindow>(64, 64);
    ASSERT_TRUE(AttachWindow(window->Get()));
    struct Case { uint32_t packed; float red, green, blue; };
    const Case cases[] = {{0x0000FF, 1, 0, 0}, {0xFF0000, 0, 0, 1}, {0x00FF00, 0, 1, 0}};
    for (const Case& c : cases) {
        SetClearColor(c.packed);
        GLfloat colour[4];
        glGetFloatv(GL_COLOR_CLEAR_VALUE, colour);
        EXPECT_FLOAT_EQ(colour[0], c.red);
        EXPECT_FLOAT_EQ(colour[1], c.green);
        EXPECT_FLOAT_EQ(colour[2], c.blue);
        EXPECT_FLOAT_EQ(colour[3], 1.0f);
    }
}

TEST_F(RenderContextTest, PictureTexturesHaveTheirPowerOfTwoSizesAndFullMipmaps) {
    auto window = std::make_unique<GlWindow>(64, 64);
    ASSERT_TRUE(AttachWindow(window->Get()));
    const std::wstring folder = testpictures::MakeTempFolder(L"textures");
    struct Case { int width, height; GLint textureWidth, textureHeight; };
    const Case cases[] = {{1920, 1080, 256, 256}, {300, 200, 128, 128}, {50, 30, 64, 32},
                          {15, 15, 16, 16}, {399, 400, 128, 256}};
    TextureList& list = TheTextureList();
    auto add = [&list](const std::wstring& path, int32_t name) {
        ImageHolder holder;
        return LoadPictureFile(holder, path, PowerOfTwoSide) ? list.AddLoadedPicture(holder, name) : -1;
    };
    for (int i = 0; i < 5; ++i) {
        const Case& c = cases[i];
        const std::wstring path = folder + std::to_wstring(i) + L".jpg";
        ASSERT_TRUE(testpictures::SavePicture(path, L"image/jpeg", c.width, c.height,
                                              testpictures::Solid(0xFF808080)));
        ASSERT_EQ(add(path, i), i);
        EXPECT_EQ(list.At(size_t(i)).width, c.width);
        EXPECT_EQ(list.At(size_t(i)).height, c.height);
        EXPECT_EQ(TextureLevelSize(GLuint(i), 0, GL_TEXTURE_WIDTH), c.textureWidth);
        EXPECT_EQ(TextureLevelSize(GLuint(i), 0, GL_TEXTURE_HEIGHT), c.textureHeight);
    }
    EXPECT_EQ(TextureLevelSize(0, 8, GL_TEXTURE_WIDTH), 1);  // 256 down to 1
    // A missing picture between two good ones adds nothing; the next name is
    // one above the largest.
    EXPECT_EQ(add(folder + L"missing.jpg", 5), -1);
    EXPECT_EQ(list.Count(), 5u);
    EXPECT_EQ(list.NextFreeName(), 5);
    EXPECT_EQ(add(folder + L"0.jpg", -1), 5);  // a negative name takes the next
    EXPECT_EQ(list.At(5).name, 5);
    list.Clear();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_FALSE(glIsTexture(3));
    EXPECT_EQ(list.NextFreeName(), 1024);
    testpictures::RemoveTempFolder(folder);
}
