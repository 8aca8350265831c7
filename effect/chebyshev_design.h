// Two-pole (in general even-order) Chebyshev type I low-pass and high-pass coefficient design.
#pragma once

#include <cstddef>

constexpr std::size_t kCoefficientCount = 22;
using Coefficients = float[kCoefficientCount];

enum class FilterKind { LowPass, HighPass };

// Cut-offs, in cycles per sample, that keep every design stable and its gain normalisation finite:
// half the sample rate puts the low-pass poles on the unit circle and zeroes the high-pass gain.
constexpr float kMinimumCutoff = 1.0e-5f;
constexpr float kMaximumCutoff = 0.49f;

// The cut-off a design actually uses: fc limited to the usable range, NaN read as the minimum.
float usableCutoff(float fc);

// Writes all 22 entries of a (feed-forward) and b (feedback, added) for the recursion
// y[n] = sum a[k] x[n-k] + sum b[k] y[n-k], with unity gain in the pass band. fc must be usable.
void designChebyshev(FilterKind kind, float fc, float ripplePercent, int numPoles, Coefficients& a, Coefficients& b);
