// A complete, self-consistent set of what a block is filtered with: the mode and both coefficient pairs.
#pragma once

#include <cstdint>

#include "effect/chebyshev_design.h"

enum FilterMode : std::int32_t {
    kLowPass = 0,
    kHighPass = 1,
    kBandPass = 2,
    kBandStop = 3,
};

struct FilterSetup {
    std::int32_t filterMode = kLowPass;
    // How many frames a change to this setup cross-fades over, while the old one rings on: long
    // enough for the new filters, started from silence, to settle.
    std::int32_t fadeFrames = 0;
    Coefficients lowPassA{};
    Coefficients lowPassB{};
    Coefficients highPassA{};
    Coefficients highPassB{};
};

// The filters a mode runs.
inline bool usesLowPass(std::int32_t mode) {
    return mode != kHighPass;
}
inline bool usesHighPass(std::int32_t mode) {
    return mode != kLowPass;
}

// True when both setups filter alike: the same mode, and the same coefficients for the filters it runs.
bool filtersAlike(const FilterSetup& one, const FilterSetup& other);
