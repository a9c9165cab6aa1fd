// The process entry: the runtime's parameters are ignored; the argument text is
// what follows the program name on the process's own command line.
#include <windows.h>

#include "common/WideText_win.h"
#include "host/SaverMain_win.h"
#include "host/Switches.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring_view commandLine = GetCommandLineW();
    const std::size_t start = WorkSpace::SkipProgramName(WorkSpace::AsU16(commandLine));
    WorkSpace::EndProcess(WorkSpace::SaverMain(GetModuleHandleW(nullptr), commandLine.substr(start)));
}
