// Loads a plug-in library and finds its entry point, as a host does.
#include "host/plugin_library.h"

#include "host/dynamic_library.h"

std::unique_ptr<PluginLibrary> PluginLibrary::open(const std::string& path, std::string& error) {
    void* handle = dynamic_library::load(path, error);
    if (handle == nullptr) {
        return nullptr;
    }
    void* entry = dynamic_library::find(handle, "VSTPluginMain");
    if (entry == nullptr) {
        entry = dynamic_library::find(handle, "main");
    }
    if (entry == nullptr) {
        dynamic_library::unload(handle);
        error = "'" + path + "' is not a plug-in: it exports neither VSTPluginMain nor main";
        return nullptr;
    }
    return std::unique_ptr<PluginLibrary>(new PluginLibrary(handle, reinterpret_cast<PluginEntry>(entry)));
}

PluginLibrary::~PluginLibrary() {
    dynamic_library::unload(handle);
}

void* PluginLibrary::symbol(const char* name) const {
    return dynamic_library::find(handle, name);
}
