// A library that looks like a plug-in but whose entry point yields no effect, for host error tests.
#include <cstddef>

extern "C" __attribute__((visibility("default"))) void* VSTPluginMain(void* /*host*/) {
    return nullptr;
}
