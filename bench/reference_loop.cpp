// The same sums, limits and rounding as the plug-in's kernel, one channel after the other.
#include "bench/reference_loop.h"

namespace {
constexpr double kLimit = 1.0e30;
}

void referenceProcess(ReferenceBiquad& f, float** inputs, float** outputs, std::int32_t frames) {
    for (int channel = 0; channel < 2; ++channel) {
        const float* in = inputs[channel];
        float* out = outputs[channel];
        double x1 = f.x1[channel], x2 = f.x2[channel], y1 = f.y1[channel], y2 = f.y2[channel];
        for (std::int32_t n = 0; n < frames; ++n) {
            double x0 = static_cast<double>(in[n]);
            x0 = x0 == x0 ? x0 : 0.0;
            x0 = x0 < -kLimit ? -kLimit : x0;
            x0 = x0 > kLimit ? kLimit : x0;
            double y0 = f.a0 * x0 + f.a1 * x1 + f.a2 * x2 + f.b1 * y1 + f.b2 * y2;
            out[n] = static_cast<float>(y0);
            x2 = x1;
            x1 = x0;
            y2 = y1;
            y1 = y0;
        }
        f.x1[channel] = x1;
        f.x2[channel] = x2;
        f.y1[channel] = y1;
        f.y2[channel] = y2;
    }
}
