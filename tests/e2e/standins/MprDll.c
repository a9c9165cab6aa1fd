/* A stand-in for the Windows 9x change-password entry: it records the provider
   it was asked for and the window handle as a number. */
#include "CallLog.h"

static HMODULE self;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}

__declspec(dllexport) DWORD WINAPI PwdChangePasswordW(LPCWSTR provider, HWND window, DWORD flags,
                                                      LPVOID reserved) {
    wchar_t line[256];
    wsprintfW(line, L"change %s %u %u %u", provider ? provider : L"(none)",
              (unsigned)(UINT_PTR)window, (unsigned)flags, (unsigned)(UINT_PTR)reserved);
    AppendCall(self, line);
    return 0;
}
