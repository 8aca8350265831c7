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
    std::int32_t numPoles = 2;
    Coefficients lowPassA{};
    Coefficients lowPassB{};
    Coefficients highPassA{};
    Coefficients highPassB{};
};
