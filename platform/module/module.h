// The module this copy of the subset is linked into, and the resources embedded into it at build time.
#pragma once

#include <cstddef>

#include "platform/subset/win32_types.h"

namespace platform {

// The handle of the library (or program) that contains this code: its load address.
HINSTANCE moduleHandle();

struct EmbeddedResource {
    const char* type;  // upper case, as the resource compiler stores type names
    int id;
    const unsigned char* data;
    std::size_t size;
};

}  // namespace platform

// Every module that links the subset defines these, generated from its resource list.
extern const platform::EmbeddedResource zelmorEmbeddedResources[];
extern const std::size_t zelmorEmbeddedResourceCount;
