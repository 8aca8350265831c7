// The audio-thread scenario shared by the platform-specific watchers.
#include "tests/audio_thread_scenario.h"

namespace testhost {

namespace {
const std::int32_t kBlockSizes[] = {0,  1,  2,   3,    31,
                                    32, 64, 511, 4096, static_cast<std::int32_t>(AudioThreadScenario::kLongest)};
}

AudioThreadScenario::AudioThreadScenario() {
    for (float mode : kModes) {
        auto effect = makeEffect();
        effect->setParameter(2, mode);
        effect->setBlockSize(64);  // blocks larger than announced must work too
        effects.push_back(std::move(effect));
    }
    for (auto& effect : effects) {
        effect->processReplacing(input.channels(), output.channels(), 64);
    }
}

void AudioThreadScenario::processAll() {
    for (auto& effect : effects) {
        for (std::int32_t frames : kBlockSizes) {
            effect->processReplacing(input.channels(), output.channels(), frames);
            float** io = output.channels();
            effect->processReplacing(io, io, frames);
        }
    }
}

}  // namespace testhost
