// Runs the incoming design beside the outgoing one and mixes them with a linear ramp.
#include "effect/design_fade.h"

#include <cmath>
#include <cstring>

namespace {
constexpr float kSmallestNormal = 1.17549435e-38f;
}

bool filtersAlike(const FilterSetup& one, const FilterSetup& other) {
    if (one.filterMode != other.filterMode) {
        return false;
    }
    // Entries 0 to 2 of the feed-forward and 1 to 2 of the feedback pair: all that the kernels read.
    auto same = [](const Coefficients& a, const Coefficients& b) { return std::memcmp(a, b, 3 * sizeof(float)) == 0; };
    if (usesLowPass(one.filterMode) && !(same(one.lowPassA, other.lowPassA) && same(one.lowPassB, other.lowPassB))) {
        return false;
    }
    return !usesHighPass(one.filterMode) ||
           (same(one.highPassA, other.highPassA) && same(one.highPassB, other.highPassB));
}

void DesignFade::start(const FilterSetup& incomingSetup) {
    filters.restart(incomingSetup);
    position = 0;
    length = incomingSetup.fadeFrames > 0 ? incomingSetup.fadeFrames : 1;
}

void DesignFade::runIncoming(const float* const* inputs, std::int32_t frames) {
    float* outputs[2] = {buffered[0], buffered[1]};
    filters.run(inputs, outputs, frames);
}

bool DesignFade::mixInto(float* const* outputs, std::int32_t frames) {
    const float step = 1.0f / static_cast<float>(length);
    for (int channel = 0; channel < 2; ++channel) {
        float* out = outputs[channel];
        const float* in = buffered[channel];
        for (std::int32_t n = 0; n < frames; ++n) {
            const float weight = static_cast<float>(position + n + 1) * step;
            const float mixed = out[n] + weight * (in[n] - out[n]);
            // Two normal samples of opposite sign can mix to a denormal.
            out[n] = std::fabs(mixed) < kSmallestNormal ? 0.0f : mixed;
        }
    }
    position += frames;
    if (position < length) {
        return false;
    }
    length = 0;
    position = 0;
    return true;
}
