#include "scene/RenderContext_win.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <utility>

namespace WorkSpace {
namespace {

bool glReady = false;

// Asking for 64 depth bits lets the platform pick its deepest format.
PIXELFORMATDESCRIPTOR SaverPixelFormat() {
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;  // 0x25
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 24;
    format.cDepthBits = 64;
    format.iLayerType = PFD_MAIN_PLANE;
    return format;
}

}  // namespace

RECT ClientRectOf(HWND window) {
    RECT rect{0, 0, 0, 0};
    GetClientRect(window, &rect);
    return rect;
}

static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40, "pixel format record of 40 bytes");

RenderContext& TheRenderContext() {
    static RenderContext context;
    return context;
}

Camera& TheCamera() {
    static Camera camera;
    return camera;
}

bool GlReady() { return glReady; }

bool AttachWindow(HWND window) {
    RenderContext& context = TheRenderContext();
    context.attachedWindow = window;
    context.attachedRect = ClientRectOf(window);
    SetMonitors({});
    TheCamera().window = window;
    context.clearColor = 0;
    return CreateGlContext(window);
}

bool CreateGlContext(HWND window) {
    DestroyGlContext();
    if (!window || !IsWindow(window)) return false;
    RenderContext& context = TheRenderContext();
    const PIXELFORMATDESCRIPTOR format = SaverPixelFormat();
    context.window = window;
    context.deviceContext = WindowDC(window);
    const HDC dc = context.deviceContext.Get();
    if (!dc) {
        DestroyGlContext();
        return false;
    }
    const int index = ChoosePixelFormat(dc, &format);
    if (index == 0 || !SetPixelFormat(dc, index, &format)) {
        DestroyGlContext();
        return false;
    }
    context.glContext = wglCreateContext(dc);
    if (!context.glContext || !wglMakeCurrent(dc, context.glContext)) {
        DestroyGlContext();
        return false;
    }
    glReady = true;
    ApplyGlDefaults();
    return true;
}

// When the window is already gone its device context went with it, and the
// release is refused harmlessly.
void DestroyGlContext() {
    RenderContext& context = TheRenderContext();
    if (context.glContext) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context.glContext);
        context.glContext = nullptr;
    }
    context.deviceContext.Reset();
    glReady = false;
    context.window = nullptr;
}

// Depth function, alpha function (the enabled alpha test passes everything)
// and texture environment keep OpenGL's defaults.
void ApplyGlDefaults() {
    const RenderContext& context = TheRenderContext();
    if (!context.window || !IsWindow(context.window) || !context.glContext || !glReady) return;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glShadeModel(GL_SMOOTH);
    SetClearColor(context.clearColor);
    glClearDepth(1.0);
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_ALPHA_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glEnable(GL_LINE_SMOOTH);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    const RECT rect = ClientRectOf(context.window);
    glViewport(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void SetClearColor(uint32_t color) {
    if (!glReady) return;
    glClearColor((color & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f,
                 ((color >> 16) & 0xFF) / 255.0f, 1.0f);
}

bool SetupProjection() {
    ApplyGlDefaults();
    TheCamera().Configure(-1.0, -1.0, -1.0);
    return true;
}

void SetMonitors(std::vector<MonitorRect> monitors) {
    RenderContext& context = TheRenderContext();
    const RECT& client = context.attachedRect;
    if (monitors.empty()) monitors.push_back({client.left, client.top, client.right, client.bottom});
    context.monitors = std::move(monitors);
}

void Camera::Configure(double newFovy, double newNear, double newFar) {
    if (!window || !IsWindow(window)) return;
    const auto near001 = [](double a, double b) { return a - b < 0.01 && b - a < 0.01; };
    if (newFovy > 0 && newNear > 0 && newFar > 0 && near001(newFovy, fovy) &&
        near001(newNear, zNear) && near001(newFar, zFar)) {
        return;
    }
    clientRect = ClientRectOf(window);
    const LONG height = clientRect.bottom - clientRect.top < 1 ? 1 : clientRect.bottom - clientRect.top;
    aspect = double(clientRect.right - clientRect.left) / height;
    if (newFovy > 0) fovy = newFovy;
    if (newNear > 0) zNear = newNear;
    if (newFar > 0) zFar = newFar;
    projectionDirty = true;
}

void Camera::SetView(int32_t width, int32_t height) {
    const double viewAspect = double(width) / (height < 1 ? 1 : height);
    if (clientRect.left == 0 && clientRect.top == 0 && clientRect.right == width &&
        clientRect.bottom == height && viewAspect == aspect) {
        return;
    }
    clientRect = RECT{0, 0, width, height};
    aspect = viewAspect;
    projectionDirty = true;
}

void Camera::LoadPerspective() const {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fovy, aspect, zNear, zFar);
    glMatrixMode(GL_MODELVIEW);
}

void Camera::MultiplyLookAt() const {
    gluLookAt(eye.x, eye.y, eye.z, center.x, center.y, center.z, up.x, up.y, up.z);
}

void Camera::Apply() {
    if (projectionDirty) {
        if (glReady) LoadPerspective();
        projectionDirty = false;
    }
    if (glReady) MultiplyLookAt();
}

void Camera::SelectProjection(bool overlay) {
    if (!glReady) return;
    if (overlay) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0.0, clientRect.right, clientRect.bottom, 0.0, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        return;
    }
    LoadPerspective();
    MultiplyLookAt();
}

}  // namespace WorkSpace
