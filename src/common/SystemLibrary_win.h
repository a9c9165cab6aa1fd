#pragma once
// Functions that only some versions of Windows have, found at run time so that
// the saver still starts where they are missing.
#include <windows.h>

#include <string>

#include "common/Handles_win.h"

namespace WorkSpace {

// Returns the function `name` of `library` as `Fn`, or none.
template <class Fn>
Fn LookUp(HMODULE library, const char* name) {
    if (!library) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// Returns the library `name` loaded from the system folder alone (never from
// the saver's own folder or the current one), or none where the system lacks it.
inline UniqueLibrary LoadSystemLibrary(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return UniqueLibrary();
    return UniqueLibrary(LoadLibraryW((std::wstring(folder, length) + L"\\" + name).c_str()));
}

}  // namespace WorkSpace
