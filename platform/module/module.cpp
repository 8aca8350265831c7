// The module handle, the run-time library "msimg32.dll" the subset provides itself, and the version record.
#include "platform/module/module.h"

#include <dlfcn.h>
#include <strings.h>

#include <cstring>

#include "platform/subset/win32_gdi.h"
#include "platform/subset/win32_user.h"

namespace platform {
namespace {

// A handle for "msimg32.dll", counted like a loaded library.
struct BuiltInLibrary {
    const char* name;
    int loads;
};
BuiltInLibrary msimg32{"msimg32.dll", 0};

const char kModuleAnchor = 0;

// Entry points travel as FARPROC, which callers cast back to the real type; void (*)() matches any.
template <class Function>
FARPROC asProcedure(Function* function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

}  // namespace

HINSTANCE moduleHandle() {
    Dl_info info{};
    if (dladdr(&kModuleAnchor, &info) == 0) {
        return nullptr;
    }
    return static_cast<HINSTANCE>(info.dli_fbase);
}

}  // namespace platform

using namespace platform;

extern "C" {

HMODULE LoadLibraryA(LPCSTR name) {
    if (name == nullptr || (strcasecmp(name, "msimg32.dll") != 0 && strcasecmp(name, "msimg32") != 0)) {
        return nullptr;
    }
    msimg32.loads++;
    return reinterpret_cast<HMODULE>(&msimg32);
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
    if (module != reinterpret_cast<HMODULE>(&msimg32) || msimg32.loads == 0 || name == nullptr ||
        IS_INTRESOURCE(name)) {
        return nullptr;
    }
    if (std::strcmp(name, "AlphaBlend") == 0) {
        return asProcedure(&AlphaBlend);
    }
    if (std::strcmp(name, "TransparentBlt") == 0) {
        return asProcedure(&TransparentBlt);
    }
    return nullptr;
}

BOOL FreeLibrary(HMODULE module) {
    if (module != reinterpret_cast<HMODULE>(&msimg32) || msimg32.loads == 0) {
        return FALSE;
    }
    msimg32.loads--;
    return TRUE;
}

BOOL GetVersionExA(OSVERSIONINFOA* info) {
    if (info == nullptr || (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA) &&
                            info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOEXA))) {
        return FALSE;
    }
    // What Windows reports to programs that do not declare a newer version: 6.2, build 9200, NT.
    constexpr DWORD kMajor = 6;
    constexpr DWORD kMinor = 2;
    constexpr DWORD kBuild = 9200;
    info->dwMajorVersion = kMajor;
    info->dwMinorVersion = kMinor;
    info->dwBuildNumber = kBuild;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    info->szCSDVersion[0] = '\0';
    return TRUE;
}

}  // extern "C"
