#include "scene/SceneFrame_win.h"

#include <windows.h>
#include <GL/gl.h>

#include <ctime>

#include "scene/FrameGeometry.h"
#include "scene/RenderContext_win.h"

namespace WorkSpace {
namespace {

void BindTexture(int32_t texture) {
    if (texture >= 0) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, GLuint(texture));
    } else {
        glDisable(GL_TEXTURE_2D);
    }
}

void EmitQuad(const std::array<TexturedVertex, 4>& corners, bool textured, float z) {
    for (const TexturedVertex& v : corners) {
        if (textured) glTexCoord2f(v.s, v.t);
        glVertex3f(v.x, v.y, z);
    }
}

}  // namespace

bool AnimateScene() {
    AnimateScenes(TheScenes(), TheCamera().eye, GetTickCount(), int64_t(std::time(nullptr)));
    return true;
}

void DrawSoftBorder(double left, double bottom, double right, double top, double border,
                    float z) {
    const PictureBounds bounds{left, bottom, right, top};
    glBegin(GL_QUADS);
    for (const BorderVertex& v : SoftBorderVertices(bounds, border)) {
        glColor4f(0.0f, 0.0f, 0.0f, v.alpha);
        glVertex3f(v.x, v.y, z);
    }
    glEnd();
}

void DrawQuad3D(const SceneQuad& quad) {
    BindTexture(quad.texture);
    const PictureBounds bounds = BoundsOf(quad);
    glBegin(GL_QUADS);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    EmitQuad(PictureCorners(bounds), quad.texture >= 0, quad.position.z);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    DrawSoftBorder(bounds.left, bounds.bottom, bounds.right, bounds.top, kSoftBorder,
                   quad.position.z);
}

void DrawQuad2D(const SceneQuad& quad) {
    BindTexture(quad.texture);
    glBegin(GL_QUADS);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    EmitQuad(LogoCorners(quad), quad.texture >= 0, 0.0f);
    glEnd();
}

namespace {

// Pictures are drawn from the far side to the near side as seen along z, so
// that each soft border blends over what lies behind it. A logo that was never
// loaded is not drawn (it would be a white square in the corner).
void DrawScene(const Scene& scene, int32_t width, int32_t height) {
    Camera& camera = TheCamera();
    glLoadIdentity();
    camera.Apply();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_LINEAR);
    if (!ShowsScene(0, 0, width, height)) return;
    const size_t count = scene.quads.size();
    if (DrawsForward(camera.eye.z)) {
        for (size_t i = 0; i < count; ++i) DrawQuad3D(scene.quads[i]);
    } else {
        for (size_t i = count; i-- > 0;) DrawQuad3D(scene.quads[i]);
    }
    camera.SelectProjection(true);
    if (scene.logo.texture >= 0) DrawQuad2D(scene.logo);
    camera.SelectProjection(false);
}

// Each monitor shows its own scene in its part of the window, with its own
// proportions; the scissor keeps every pixel of it there.
void DrawMonitors(const std::vector<MonitorRect>& monitors, const std::vector<Scene>& scenes,
                  int32_t clientHeight) {
    glEnable(GL_SCISSOR_TEST);
    for (size_t m = 0; m < monitors.size() && m < scenes.size(); ++m) {
        const GlViewport view = ViewportOf(monitors[m], clientHeight);
        glViewport(view.x, view.y, view.width, view.height);
        glScissor(view.x, view.y, view.width, view.height);
        TheCamera().SetView(view.width, view.height);
        DrawScene(scenes[m], view.width, view.height);
    }
    glDisable(GL_SCISSOR_TEST);
}

}  // namespace

// The whole window is cleared, so whatever no monitor shows stays black. One
// monitor is drawn into the window as it was set up, as the saver always drew.
bool RenderFrame(bool probeFrame) {
    const RenderContext& context = TheRenderContext();
    if (GlReady()) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        const RECT& rect = context.attachedRect;
        if (context.monitors.size() > 1) {
            DrawMonitors(context.monitors, TheScenes(), rect.bottom - rect.top);
        } else {
            DrawScene(TheScene(), rect.right - rect.left, rect.bottom - rect.top);
        }
        if (probeFrame) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    SwapBuffers(context.deviceContext.Get());
    return true;
}

bool ClearFrame() {
    if (GlReady()) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);  // the clear colour is black
    SwapBuffers(TheRenderContext().deviceContext.Get());
    return true;
}

}  // namespace WorkSpace
