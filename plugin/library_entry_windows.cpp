// Windows DLLs: the library entry stores the module handle; "main" is exported by the module definition file.
#include <windows.h>

#include "plugin/entry.h"

// Called by the loader on process and thread attach and detach, under the loader lock: store the
// handle on every call, whatever the reason, and nothing else.
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD /*reason*/, LPVOID /*reserved*/) {
    hInstance = module;
    return TRUE;
}
