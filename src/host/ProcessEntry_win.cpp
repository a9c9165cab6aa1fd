// The process entry: the runtime's parameters are ignored; the argument text is
// what follows the program name on the process's own command line.
#include <windows.h>

#include "common/WideText_win.h"
#include "host/SaverMain_win.h"
#include "host/Switches.h"
#include "scene/PictureLoader_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring_view commandLine = GetCommandLineW();
    const std::size_t start = WorkSpace::SkipProgramName(WorkSpace::AsU16(commandLine));
    const int result = WorkSpace::SaverMain(GetModuleHandleW(nullptr), commandLine.substr(start));
    // A build left when its window went may still be decoding: its threads
    // could be inside the image services, so the process ends at once, without
    // the releases they would race with. The system frees everything, and a
    // cache entry is only ever moved into place whole.
    if (WorkSpace::DecodersRunning()) TerminateProcess(GetCurrentProcess(), UINT(result));
    // ExitProcess runs no C++ static destructors: release in the documented order first.
    WorkSpace::ReleaseProcessState();
    ExitProcess(static_cast<UINT>(result));
}
