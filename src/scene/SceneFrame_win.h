#pragma once
// One tick of the saver: the scene advanced by its scheme, and one frame
// drawn and shown.
#include "scene/SceneModel.h"

namespace WorkSpace {

// Returns true after advancing the process's scene by one tick, timed by the
// tick count and the calendar second.
bool AnimateScene();

// Returns true after drawing the scene into the OpenGL context and swapping
// the buffers. A probe frame is drawn in full and wiped before it is shown.
bool RenderFrame(bool probeFrame);

// Returns true after showing a black frame in the OpenGL context's window.
bool ClearFrame();

// Draws one flying picture and its soft border.
void DrawQuad3D(const SceneQuad& quad);
// Draws the fading black frame around a picture, `border` world units wide.
void DrawSoftBorder(double left, double bottom, double right, double top, double border,
                    float z);
// Draws a quad whose position and size are window pixels (the logo).
void DrawQuad2D(const SceneQuad& quad);

}  // namespace WorkSpace
