// Resources by type and numeric id, from the table embedded into the module when it was built.
#include <strings.h>

#include "platform/module/module.h"
#include "platform/subset/win32_user.h"

namespace platform {
namespace {

bool ownModule(HMODULE module) {
    return module == nullptr || module == moduleHandle();
}

const EmbeddedResource* fromHandle(HRSRC resource) {
    const auto* entry = reinterpret_cast<const EmbeddedResource*>(resource);
    for (std::size_t i = 0; i < zelmorEmbeddedResourceCount; ++i) {
        if (&zelmorEmbeddedResources[i] == entry) {
            return entry;
        }
    }
    return nullptr;
}

}  // namespace
}  // namespace platform

using namespace platform;

extern "C" {

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
    // Only numeric names and string types occur: the resource list gives "id PNG file".
    if (!ownModule(module) || name == nullptr || !IS_INTRESOURCE(name) || type == nullptr || IS_INTRESOURCE(type)) {
        return nullptr;
    }
    const int id = static_cast<int>(reinterpret_cast<ULONG_PTR>(name));
    for (std::size_t i = 0; i < zelmorEmbeddedResourceCount; ++i) {
        const EmbeddedResource& entry = zelmorEmbeddedResources[i];
        if (entry.id == id && strcasecmp(entry.type, type) == 0) {
            return reinterpret_cast<HRSRC>(const_cast<EmbeddedResource*>(&entry));
        }
    }
    return nullptr;
}

DWORD SizeofResource(HMODULE module, HRSRC resource) {
    const EmbeddedResource* entry = fromHandle(resource);
    return ownModule(module) && entry != nullptr ? static_cast<DWORD>(entry->size) : 0;
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
    const EmbeddedResource* entry = fromHandle(resource);
    return ownModule(module) && entry != nullptr ? const_cast<unsigned char*>(entry->data) : nullptr;
}

LPVOID LockResource(HGLOBAL resource) {
    return resource;
}

HBITMAP LoadBitmapA(HINSTANCE, LPCSTR) {
    return nullptr;
}

}  // extern "C"
