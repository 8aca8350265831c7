// The fuzzers' host: makes effects through the entry point, processes noise and checks what comes out.
#include "tests/fuzz/fuzz_host.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "plugin/entry.h"

namespace fuzzhost {
namespace {

std::intptr_t hostCallback(AEffect* /*effect*/, std::int32_t opcode, std::int32_t /*index*/, std::intptr_t /*value*/,
                           void* /*ptr*/, float /*opt*/) {
    constexpr std::intptr_t kHostVersion = 2400;
    return opcode == 1 ? kHostVersion : 0;  // audioMasterVersion
}

}  // namespace

AEffect* openEffect() {
    AEffect* effect = VSTPluginMain(hostCallback);
    if (effect == nullptr) {
        std::fprintf(stderr, "VSTPluginMain returned no effect\n");
        std::abort();
    }
    return effect;
}

void closeEffect(AEffect* effect) {
    dispatch(effect, effClose);
}

std::intptr_t dispatch(AEffect* effect, std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                       float opt) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

StereoBlock::StereoBlock(std::int32_t frames)
    : inLeft(static_cast<std::size_t>(frames)),
      inRight(static_cast<std::size_t>(frames)),
      outLeft(static_cast<std::size_t>(frames)),
      outRight(static_cast<std::size_t>(frames)) {}

void StereoBlock::fillNoise(std::uint32_t seed) {
    // A 32-bit linear congruential generator: cheap, and the same on every machine.
    std::uint32_t state = seed;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / 8388608.0f - 1.0f;  // [-1, 1)
    };
    for (std::size_t i = 0; i < inLeft.size(); ++i) {
        inLeft[i] = next();
        inRight[i] = next();
    }
}

void StereoBlock::channels(float** inputs, float** outputs) {
    inputs[0] = inLeft.data();
    inputs[1] = inRight.data();
    outputs[0] = outLeft.data();
    outputs[1] = outRight.data();
}

void StereoBlock::processAndCheck(AEffect* effect) {
    float* inputs[2] = {nullptr, nullptr};
    float* outputs[2] = {nullptr, nullptr};
    channels(inputs, outputs);
    effect->processReplacing(effect, inputs, outputs, frames());
    for (const std::vector<float>* channel : {&outLeft, &outRight}) {
        for (std::size_t i = 0; i < channel->size(); ++i) {
            const float y = (*channel)[i];
            if (!std::isfinite(y) || std::fabs(y) > kLargestOutput) {
                std::fprintf(stderr, "output sample %zu of channel %d is %g (input at most 1 in magnitude)\n", i,
                             channel == &outLeft ? 0 : 1, static_cast<double>(y));
                std::abort();
            }
        }
    }
}

}  // namespace fuzzhost
