// Loads a plug-in library and finds its entry point, as a host does.
#pragma once

#include <memory>
#include <string>

#include "plugin/effect_record.h"

using PluginEntry = AEffect* (*)(audioMasterCallback);

class PluginLibrary {
public:
    // Null with a one-line reason in error when the file cannot be loaded or exports no entry point.
    static std::unique_ptr<PluginLibrary> open(const std::string& path, std::string& error);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    PluginEntry entry() const { return entryPoint; }
    // Looks up any exported symbol; null when absent.
    void* symbol(const char* name) const;

private:
    PluginLibrary(void* loaded, PluginEntry found) : handle(loaded), entryPoint(found) {}
    void* handle;
    PluginEntry entryPoint;
};
