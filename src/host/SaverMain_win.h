#pragma once
#include <windows.h>

#include <string_view>

namespace WorkSpace {

// Returns the exit code of the run mode that the argument text asks for.
int SaverMain(HINSTANCE instance, std::wstring_view arguments);

// Releases the process-wide state before ExitProcess, in this order: the OpenGL
// context, the texture list, the error screen and the package reader, GDI+ last.
void ReleaseProcessState();

}  // namespace WorkSpace
