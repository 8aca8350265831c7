// The toolkit's process-wide values and the run-time loading of the image-blending library.
#include "gui/system_state.h"

#include <cstring>

namespace gui {
namespace system {

AlphaBlendFunction alphaBlend = nullptr;
TransparentBltFunction transparentBlt = nullptr;
OSVERSIONINFOEXA versionInfo{};
bool swappedMouseButtons = false;

namespace {

int blendingLoads = 0;

template <typename Function>
Function entryPoint(HMODULE library, const char* name) {
    // Through a plain function pointer type: FARPROC's own signature differs from every real one.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

}  // namespace

HMODULE loadBlendingLibrary() {
    alphaBlend = nullptr;
    transparentBlt = nullptr;
    HMODULE library = LoadLibraryA("msimg32.dll");
    if (library == nullptr) {
        return nullptr;
    }
    ++blendingLoads;
    alphaBlend = entryPoint<AlphaBlendFunction>(library, "AlphaBlend");
    std::memset(&versionInfo, 0, sizeof versionInfo);
    versionInfo.dwOSVersionInfoSize = sizeof versionInfo;
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&versionInfo)) &&
        versionInfo.dwPlatformId > VER_PLATFORM_WIN32_WINDOWS) {
        transparentBlt = entryPoint<TransparentBltFunction>(library, "TransparentBlt");
    }
    return library;
}

void freeBlendingLibrary(HMODULE library) {
    if (library == nullptr) {
        return;
    }
    FreeLibrary(library);
    // The entry points would dangle once the library is gone.
    if (--blendingLoads == 0) {
        alphaBlend = nullptr;
        transparentBlt = nullptr;
    }
}

bool blendsFromOriginOnly() {
    return versionInfo.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && versionInfo.dwMajorVersion == 4 &&
           versionInfo.dwMinorVersion == 10;
}

}  // namespace system
}  // namespace gui
