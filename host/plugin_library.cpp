// Loading a plug-in library with the dynamic loader of POSIX systems.
#include "host/plugin_library.h"

#include <dlfcn.h>

std::unique_ptr<PluginLibrary> PluginLibrary::open(const std::string& path, std::string& error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        error = "cannot load '" + path + "': " + (reason != nullptr ? reason : "unknown error");
        return nullptr;
    }
    void* entry = dlsym(handle, "VSTPluginMain");
    if (entry == nullptr) {
        entry = dlsym(handle, "main");
    }
    if (entry == nullptr) {
        dlclose(handle);
        error = "'" + path + "' is not a plug-in: it exports neither VSTPluginMain nor main";
        return nullptr;
    }
    return std::unique_ptr<PluginLibrary>(new PluginLibrary(handle, reinterpret_cast<PluginEntry>(entry)));
}

PluginLibrary::~PluginLibrary() {
    dlclose(handle);
}

void* PluginLibrary::symbol(const char* name) const {
    return dlsym(handle, name);
}
