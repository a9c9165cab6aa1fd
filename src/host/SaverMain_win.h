#pragma once
#include <windows.h>

#include <string_view>

namespace WorkSpace {

// Returns the exit code of the run mode that the argument text asks for.
int SaverMain(HINSTANCE instance, std::wstring_view arguments);

}  // namespace WorkSpace
