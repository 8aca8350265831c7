// The audio callback exercised at several block sizes with parameter changes between blocks.
#include "host/validate/realtime_scenario.h"

#include "host/validate/playback.h"

namespace validate {

namespace {
std::intptr_t quietHost(AEffect*, std::int32_t opcode, std::int32_t, std::intptr_t, void*, float) {
    return opcode == audioMasterVersion ? kVstVersion : 0;
}
const int kSizes[] = {1, 64, 512, 4096, 3, 1000};
constexpr int kRounds = 4;
constexpr int kLargest = 4096;
}  // namespace

QuietEffect::QuietEffect(const PluginLibrary& library, std::uint64_t seed) : random(seed) {
    effect = library.entry()(&quietHost);
    if (effect == nullptr) {
        return;
    }
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    effect->dispatcher(effect, effSetBlockSize, 0, kLargest, nullptr, 0.0f);
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
}

QuietEffect::~QuietEffect() {
    if (effect != nullptr) {
        effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    }
}

int QuietEffect::blocksPerRun() const {
    return kRounds * static_cast<int>(sizeof kSizes / sizeof kSizes[0]) * 2;
}

void QuietEffect::processAll(const std::function<void(bool)>& watch) {
    // Buffers are made before any watching starts.
    Channels inputs(effect->numInputs, kLargest);
    Channels outputs(effect->numOutputs, kLargest);
    for (int round = 0; round < kRounds; ++round) {
        for (int size : kSizes) {
            for (std::int32_t p = 0; p < effect->numParams; ++p) {
                effect->setParameter(effect, p, static_cast<float>(random.uniform()));
            }
            for (int repeat = 0; repeat < 2; ++repeat) {
                inputs.fillNoise(random, kNoisePeak);
                watch(true);
                effect->processReplacing(effect, inputs.pointers(), outputs.pointers(), size);
                watch(false);
            }
        }
    }
}

}  // namespace validate
