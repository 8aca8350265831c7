// An effect driven through a host callback that itself never allocates or locks, for counting what
// processReplacing does: only the plug-in's own calls are then seen.
#pragma once

#include <functional>

#include "host/plugin_library.h"
#include "host/validate/signals.h"

namespace validate {

class QuietEffect {
public:
    // Null record when the plug-in yields none.
    QuietEffect(const PluginLibrary& library, std::uint64_t seed);
    ~QuietEffect();
    QuietEffect(const QuietEffect&) = delete;
    QuietEffect& operator=(const QuietEffect&) = delete;

    AEffect* record() const { return effect; }
    // Blocks of several sizes with parameter changes between them; watch(true) right before each
    // processReplacing call and watch(false) right after, on this thread.
    void processAll(const std::function<void(bool)>& watch);
    int blocksPerRun() const;

private:
    AEffect* effect = nullptr;
    Random random;
};

}  // namespace validate
