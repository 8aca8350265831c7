// The system's dynamic loader, one implementation per platform: load, look up, unload.
#pragma once

#include <string>

namespace dynamic_library {

// Null with a one-line reason in error when the system cannot load the file.
void* load(const std::string& path, std::string& error);
// Null when the library exports no such symbol.
void* find(void* library, const char* name);
void unload(void* library);

}  // namespace dynamic_library
