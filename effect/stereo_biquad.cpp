// Chooses the stereo biquad kernels for this processor once, when the library loads, and runs them.
#include "effect/stereo_biquad.h"

#include "effect/cpu_features.h"

const BiquadKernels& fusedBiquadKernels();

namespace {
// Chosen during the library's static initialisation, on the loading thread: the audio thread then
// only reads a pointer that never changes.
const BiquadKernels* const chosenKernels = [] {
    const BiquadKernels* fused = fusedKernelsIfSupported();
    return fused != nullptr ? fused : &sse2BiquadKernels();
}();
}  // namespace

const BiquadKernels* fusedKernelsIfSupported() {
    return cpuRunsAvxWithFusedMultiplyAdd() ? &fusedBiquadKernels() : nullptr;
}

const BiquadKernels& biquadKernels() {
    return *chosenKernels;
}

void runBiquad(const float* const* inputs, float* const* outputs, std::int32_t frames, const BiquadFilter& filter) {
    chosenKernels->single(inputs, outputs, frames, filter);
}

void runBiquadSeries(const float* const* inputs, float* const* outputs, std::int32_t frames, const BiquadFilter& first,
                     const BiquadFilter& second) {
    chosenKernels->series(inputs, outputs, frames, first, second);
}

void runBiquadAverage(const float* const* inputs, float* const* outputs, std::int32_t frames, const BiquadFilter& first,
                      const BiquadFilter& second) {
    chosenKernels->average(inputs, outputs, frames, first, second);
}
