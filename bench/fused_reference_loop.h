// The recursion as a plain loop with fused multiply-add, both channels in one register: the yardstick
// of the run-time-chosen kernels.
#pragma once

#include <cstdint>

struct FusedReferenceBiquad {
    double a0, a1, a2, b1, b2;
    double x1[2], x2[2], y1[2], y2[2];
};

// False on processors without AVX and fused multiply-add, where the loop must not run.
bool fusedReferenceRuns();

void fusedReferenceProcess(FusedReferenceBiquad& filter, float** inputs, float** outputs, std::int32_t frames);
