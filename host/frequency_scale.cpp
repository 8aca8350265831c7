// Inverse of the plug-in's logarithmic cut-off curve, for hosts that set cut-offs in hertz.
#include "host/frequency_scale.h"

#include <cmath>

namespace {
constexpr double kMinimumHertz = 20.0;
constexpr double kMaximumHertz = 20000.0;
constexpr double kScale = 1.1111112;
constexpr double kOffset = 0.1;
}  // namespace

float normalisedCutoff(double hertz) {
    double t = (hertz - kMinimumHertz) / (kMaximumHertz - kMinimumHertz);
    return static_cast<float>(std::log10(10.0 * (t / kScale + kOffset)));
}
