// The library's exported entry point: makes one Zelmor per call and hands its record to the host.
#include <new>

#include "editor/editor.h"
#include "effect/zelmor.h"
#include "plugin/entry.h"

namespace {

// The plug-in brings the effect and its editor together: the effect alone knows no editor.
void makeEditor(AudioEffect* effect) {
    new Editor(effect);
}

}  // namespace

// ZELMOR_EXPORT comes from the build: default visibility on ELF targets, where everything else is
// hidden; nothing on Windows, where the module definition file lists the exports.
extern "C" ZELMOR_EXPORT AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
    if (audioMaster == nullptr || audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
        return nullptr;
    }
    // Nothing may throw across the host boundary; without memory the host gets no record at all.
    try {
        auto* effect = new Zelmor(audioMaster, makeEditor);
        return effect->getAeffect();
    } catch (...) {
        return nullptr;
    }
}
