/* A stand-in for the Windows 9x password control panel: it refuses the first
   password request of a process and accepts every later one. */
#include "CallLog.h"

static HMODULE self;
static int requests;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}

__declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    (void)window;
    ++requests;
    AppendCall(self, requests == 1 ? L"verify refused" : L"verify accepted");
    return requests > 1;
}
