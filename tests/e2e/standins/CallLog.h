/* Appends one line to "calls.txt" beside the stand-in library, so that a
   scenario can read from outside what the saver asked for. */
#pragma once
#include <windows.h>

static void AppendCall(HMODULE self, const wchar_t* line) {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    while (length > 0 && path[length - 1] != L'\\') --length;
    lstrcpyW(path + length, L"calls.txt");
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line, (DWORD)(lstrlenW(line) * sizeof(wchar_t)), &written, NULL);
    WriteFile(file, L"\n", sizeof(wchar_t), &written, NULL);
    CloseHandle(file);
}
