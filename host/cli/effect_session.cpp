// Loading the plug-in for the command-line host and applying the user's filter settings.
#include "host/cli/effect_session.h"

#include <stdexcept>
#include <utility>

#include "host/frequency_scale.h"

EffectSession::EffectSession(const std::string& pluginPath) {
    std::string error;
    library = PluginLibrary::open(pluginPath, error);
    if (!library) {
        throw std::runtime_error(error);
    }
}

std::unique_ptr<HostedEffect> EffectSession::makeEffect(const FilterSettings& settings, double sampleRate,
                                                        int blockFrames, HostAnswer answer) {
    std::string error;
    auto effect = HostedEffect::create(*library, error, std::move(answer));
    if (!effect) {
        throw std::runtime_error(error);
    }
    if (effect->record()->numInputs != 2 || effect->record()->numOutputs != 2 ||
        (effect->record()->flags & effFlagsCanReplacing) == 0) {
        throw std::runtime_error("the plug-in is not a stereo effect that can process in place of its output");
    }
    effect->setSampleRate(static_cast<float>(sampleRate));
    effect->setBlockSize(blockFrames);
    if (settings.program) {
        effect->dispatch(effSetProgram, 0, *settings.program - 1);
    }
    if (settings.lowerHertz) {
        effect->setParameter(0, normalisedCutoff(*settings.lowerHertz));
    }
    if (settings.upperHertz) {
        effect->setParameter(1, normalisedCutoff(*settings.upperHertz));
    }
    if (settings.mode) {
        effect->setParameter(2, *settings.mode);
    }
    effect->resume();
    return effect;
}
