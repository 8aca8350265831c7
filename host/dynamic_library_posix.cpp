// The dynamic loader of POSIX systems.
#include <dlfcn.h>

#include "host/dynamic_library.h"

void* dynamic_library::load(const std::string& path, std::string& error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        error = "cannot load '" + path + "': " + (reason != nullptr ? reason : "unknown error");
    }
    return handle;
}

void* dynamic_library::find(void* library, const char* name) {
    return dlsym(library, name);
}

void dynamic_library::unload(void* library) {
    dlclose(library);
}
