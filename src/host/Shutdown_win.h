#pragma once

namespace WorkSpace {

// Releases the process-wide state before ExitProcess, in this order: the OpenGL
// context, the texture list, the error screen and the package reader, GDI+ last.
void ReleaseProcessState();

}  // namespace WorkSpace
