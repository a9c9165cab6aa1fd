#pragma once
#include <windows.h>

#include <string_view>

namespace WorkSpace {

// Returns the exit code of the run mode that the argument text asks for.
int SaverMain(HINSTANCE instance, std::wstring_view arguments);

// Releases the process-wide state before ExitProcess, in this order: the OpenGL
// context, the texture list, the error screen and the package reader, GDI+ last.
void ReleaseProcessState();

// Ends the process with `result`. A build left when its window went may still
// be decoding: its threads could be inside the image services, so the process
// then ends at once, without the releases they would race with. The system
// frees everything, and a cache entry is only ever moved into place whole.
[[noreturn]] void EndProcess(int result);

}  // namespace WorkSpace
