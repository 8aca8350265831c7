// The Windows loader.
#include <windows.h>

#include "host/dynamic_library.h"

namespace {

// The system's one-line description of a Win32 error code.
std::string describe(DWORD code) {
    char text[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                  sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() &&
           (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    if (message.empty()) {
        message = "error " + std::to_string(code);
    }
    return message;
}

}  // namespace

void* dynamic_library::load(const std::string& path, std::string& error) {
    // No "cannot find the DLL" message boxes for a missing dependency: the caller reports the error.
    UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryA(path.c_str());
    DWORD code = GetLastError();
    SetErrorMode(previousMode);
    if (module == nullptr) {
        error = "cannot load '" + path + "': " + describe(code);
    }
    return module;
}

void* dynamic_library::find(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void dynamic_library::unload(void* library) {
    FreeLibrary(static_cast<HMODULE>(library));
}
