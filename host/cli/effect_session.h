// The plug-in loaded and set up for the command-line host: library, one effect, settings applied.
#pragma once

#include <memory>
#include <string>

#include "host/cli/options.h"
#include "host/hosted_effect.h"

class EffectSession {
public:
    // Throws std::runtime_error when the library cannot be loaded or yields no effect.
    explicit EffectSession(const std::string& pluginPath);

    // A fresh effect with the settings applied, prepared for the sample rate and block size; answer
    // replies to the plug-in's calls to the host.
    std::unique_ptr<HostedEffect> makeEffect(const FilterSettings& settings, double sampleRate, int blockFrames,
                                             HostAnswer answer = defaultHostAnswer);

private:
    std::unique_ptr<PluginLibrary> library;
};
