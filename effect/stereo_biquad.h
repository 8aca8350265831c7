// Stereo biquad kernels: one filter, two filters in series, two in parallel, both channels side by side.
#pragma once

#include <cstdint>

// The entries of a history that the kernels read and write.
constexpr std::int32_t kBiquadHistoryEntries = 2;

// Histories of one filter on both channels: entries 0 and 1 hold the last two samples, oldest first.
struct BiquadHistories {
    float* outputLeft;
    float* outputRight;
    float* inputLeft;
    float* inputRight;
};

// One filter: a[0..2] feed-forward and b[1..2] feedback coefficients, and its histories.
struct BiquadFilter {
    const float* a;
    const float* b;
    BiquadHistories histories;
};

// Samples of larger magnitude than this, and non-finite ones, are host faults: they are taken as this
// limit (keeping their sign) or as silence (NaN), so that no output and no history becomes non-finite.
constexpr float kInputLimit = 1.0e30f;

// Each kernel reads every input sample of a frame before it writes that frame's outputs, and keeps
// past samples in registers, so inputs and outputs may be the same buffers, or each other's channels.
// Any frame count >= 0. Outputs are zero or normal floats. Audio thread: no allocation, no lock, no
// system call.
using SingleKernel = void (*)(const float* const* inputs, float* const* outputs, std::int32_t frames,
                              const BiquadFilter& filter);
using PairKernel = void (*)(const float* const* inputs, float* const* outputs, std::int32_t frames,
                            const BiquadFilter& first, const BiquadFilter& second);

// One filter; two in series (the second takes the first's output); two in parallel, averaged.
struct BiquadKernels {
    SingleKernel single;
    PairKernel series;
    PairKernel average;
    const char* name;
};

// The kernels for every x86-64 processor, and those for processors with AVX and fused multiply-add
// (null elsewhere). Their outputs agree within one float rounding.
const BiquadKernels& sse2BiquadKernels();
const BiquadKernels* fusedKernelsIfSupported();

// The fastest kernels this processor runs, chosen once when the library loads.
const BiquadKernels& biquadKernels();

void runBiquad(const float* const* inputs, float* const* outputs, std::int32_t frames, const BiquadFilter& filter);
void runBiquadSeries(const float* const* inputs, float* const* outputs, std::int32_t frames, const BiquadFilter& first,
                     const BiquadFilter& second);
void runBiquadAverage(const float* const* inputs, float* const* outputs, std::int32_t frames, const BiquadFilter& first,
                      const BiquadFilter& second);
