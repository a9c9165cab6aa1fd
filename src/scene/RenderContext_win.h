#pragma once
// The process's one OpenGL context, the drawing state every frame relies on,
// and the camera: a 45-degree perspective with a look-at for the flying
// pictures, and a pixel overlay for the logo.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "common/Handles_win.h"
#include "scene/MonitorLayout.h"
#include "scene/SceneModel.h"

namespace WorkSpace {

struct RenderContext {
    HWND window = nullptr;          // window the context was made for; none without a context
    WindowDC deviceContext;         // held from creation until release
    HGLRC glContext = nullptr;
    uint32_t clearColor = 0xFFFFFF; // 0x00BBGGRR; AttachWindow sets black
    HWND attachedWindow = nullptr;  // last window given to AttachWindow; kept after release
    RECT attachedRect{0, 0, 0, 0};  // its client rectangle when attached, pixels
    // The attached window's monitors, client pixels, one scene each: the whole
    // client area unless SetMonitors gave the saver window's monitors.
    std::vector<MonitorRect> monitors;
};

class Camera {
public:
    // Stores each of field of view (degrees), near and far distance that is
    // above 0 and measures the window again; changes nothing when all three are
    // given and each is within 0.01 of the stored value.
    void Configure(double fovy, double zNear, double zFar);
    // Loads the projection when marked, then multiplies the look-at onto the
    // model-view matrix.
    void Apply();
    // Switches to the pixel overlay ((0, 0) top-left, y down) or back to the
    // perspective with the look-at.
    void SelectProjection(bool overlay);
    // Makes the camera draw into one monitor's part of the window, `width` x
    // `height` pixels: its proportions and its overlay. Marks the projection
    // only when they change, so one monitor keeps the window's.
    void SetView(int32_t width, int32_t height);

    HWND window = nullptr;
    RECT clientRect{0, 0, 0, 0};  // last measured by Configure, pixels
    bool projectionDirty = false;
    double fovy = 45.0;           // degrees
    double zNear = 1.0;           // world units
    double zFar = 400.0;          // world units
    double aspect = 1.0;          // client width / height
    Vec4 eye{0.0f, 0.0f, 100.0f, 1.0f};
    Vec4 center{0.0f, 0.0f, 0.0f, 1.0f};
    Vec4 up{0.0f, 1.0f, 0.0f, 1.0f};

private:
    void LoadPerspective() const;
    void MultiplyLookAt() const;
};

RenderContext& TheRenderContext();
Camera& TheCamera();

// Returns the window's client rectangle, pixels; zero when it is no window.
RECT ClientRectOf(HWND window);

// Returns true from a successful CreateGlContext until DestroyGlContext.
bool GlReady();

// Returns GlReady() after binding the camera and a new context to `window`
// and setting the clear colour to black. The window's one monitor is then its
// whole client area.
bool AttachWindow(HWND window);
// Returns GlReady() after replacing any context with one for `window`.
bool CreateGlContext(HWND window);
// Releases the context and the device context; safe without one.
void DestroyGlContext();
// Sets the drawing state and the viewport for the context's window.
void ApplyGlDefaults();
// Sets the clear colour from 0x00BBGGRR.
void SetClearColor(uint32_t color);
// Returns true after the drawing defaults and a fresh measure of the window.
bool SetupProjection();
// Records the attached window's monitors (client pixels); none keeps the
// whole client area as the one monitor.
void SetMonitors(std::vector<MonitorRect> monitors);

}  // namespace WorkSpace
