// Library entry on Linux: records the library's own module handle as soon as the library is loaded.
#include "platform/module/module.h"
#include "plugin/entry.h"

namespace {

__attribute__((constructor)) void libraryLoaded() {
    hInstance = platform::moduleHandle();
}

}  // namespace
