// The library's exported entry point: makes one Zelmor per call and hands its record to the host.
#include <new>

#include "effect/zelmor.h"

#define ZELMOR_EXPORT __attribute__((visibility("default")))

extern "C" {

// Thread: whichever thread the host loads plug-ins on.
ZELMOR_EXPORT AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
    if (audioMaster == nullptr || audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
        return nullptr;
    }
    // Nothing may throw across the host boundary; without memory the host gets no record at all.
    try {
        auto* effect = new Zelmor(audioMaster);
        return effect->getAeffect();
    } catch (...) {
        return nullptr;
    }
}

// Older hosts look the entry point up under this name; it is the same function.
ZELMOR_EXPORT AEffect* legacyMain(audioMasterCallback audioMaster) __asm__("main")
    __attribute__((alias("VSTPluginMain")));
}
