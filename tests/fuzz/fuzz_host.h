// What the fuzzers share: a minimal host around the plug-in's entry point, and audio blocks checked for sanity.
#pragma once

#include <cstdint>
#include <vector>

#include "plugin/effect_record.h"

namespace fuzzhost {

// A fresh effect through VSTPluginMain, with a host that answers its version and nothing else.
// Aborts when the entry point yields no record: every fuzzer needs one.
AEffect* openEffect();
// effClose through the record; the record is gone afterwards.
void closeEffect(AEffect* effect);

std::intptr_t dispatch(AEffect* effect, std::int32_t opcode, std::int32_t index = 0, std::intptr_t value = 0,
                       void* ptr = nullptr, float opt = 0.0f);

// Two channels of input and output for processReplacing.
class StereoBlock {
public:
    explicit StereoBlock(std::int32_t frames);
    // Fills the input with noise of at most full scale, from a seed so that a reproducer replays exactly.
    void fillNoise(std::uint32_t seed);
    // processReplacing through the record, then aborts unless every output sample is finite and at most
    // kLargestOutput in magnitude.
    void processAndCheck(AEffect* effect);
    // The channel pointers processReplacing takes.
    void channels(float** inputs, float** outputs);
    std::int32_t frames() const { return static_cast<std::int32_t>(inLeft.size()); }

    // The most any design can give from inputs of at most full scale: the sum of the magnitudes of its
    // impulse response, which reaches about 2.4 for a low-pass near half the sample rate and about 6
    // for filters at the lowest usable cut-off, so about 15 for two in series. Bursts from a change of
    // design went far beyond it.
    static constexpr float kLargestOutput = 16.0f;

private:
    std::vector<float> inLeft, inRight, outLeft, outRight;
};

}  // namespace fuzzhost
