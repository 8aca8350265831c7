// What a host's threads do to the plug-in at once: one instance's editor opened, idled and closed again
// and again on a thread of its own while other threads make and close instances. The X11 and the
// Windows tests of this scenario share it; each brings its own parent window and message pump.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "host/hosted_effect.h"
#include "host/plugin_library.h"

namespace threadcycles {

constexpr int kEditorCycles = 10;
constexpr int kIdlesPerCycle = 8;
constexpr int kInstancesPerMaker = 60;

// One effect's editor opened in the parent, idled while its parameters change (pump runs after each
// idle, as the host's loop would) and closed, kEditorCycles times, all on the calling thread; answers
// how many opens succeeded.
inline int cycleAnEditor(const PluginLibrary& library, void* parent, const std::function<void()>& pump) {
    std::string error;
    auto effect = HostedEffect::create(library, error);
    if (!effect) {
        return 0;
    }
    int opened = 0;
    for (int cycle = 0; cycle < kEditorCycles; ++cycle) {
        if (effect->dispatch(effEditOpen, 0, 0, parent) == 0) {
            continue;
        }
        ++opened;
        for (int idle = 0; idle < kIdlesPerCycle; ++idle) {
            effect->setParameter(idle % 3, static_cast<float>(idle) / kIdlesPerCycle);
            effect->dispatch(effEditIdle);
            pump();
        }
        effect->dispatch(effEditClose);
        pump();
    }
    return opened;
}

// kInstancesPerMaker effects made, asked for their editor's rectangle and closed, as a host scanning
// or loading a project does.
inline void makeAndCloseInstances(const PluginLibrary& library) {
    for (int n = 0; n < kInstancesPerMaker; ++n) {
        std::string error;
        auto effect = HostedEffect::create(library, error);
        void* rect = nullptr;
        if (effect) {
            effect->dispatch(effEditGetRect, 0, 0, &rect);
        }
    }
}

}  // namespace threadcycles
