// The kernels for every x86-64 processor: each channel pair's recursion in one SSE2 register, with
// separate multiplications and additions, everything but b1 y[n-1] summed off the critical path.
#include "effect/biquad_common.h"

namespace {

inline __m128d step(const Coefficients2& c, State2& s, __m128d x0) {
    __m128d rest = _mm_add_pd(_mm_add_pd(_mm_mul_pd(c.a0, x0), _mm_mul_pd(c.a1, s.x1)),
                              _mm_add_pd(_mm_mul_pd(c.a2, s.x2), _mm_mul_pd(c.b2, s.y2)));
    __m128d y0 = _mm_add_pd(rest, _mm_mul_pd(c.b1, s.y1));
    s.x2 = s.x1;
    s.x1 = x0;
    s.y2 = s.y1;
    s.y1 = y0;
    return y0;
}

void single(const float* const* inputs, float* const* outputs, std::int32_t frames, const BiquadFilter& filter) {
    const Coefficients2 c = broadcast(filter);
    const FrameLimits limits;
    State2 s = load(filter.histories);
    inChunks(inputs, outputs, frames, [&](const float* const* in, float* const* out, std::int32_t count) {
        silenceIfTiny(s);
        for (std::int32_t n = 0; n < count; ++n) {
            writeFrame(out, n, step(c, s, readFrame(in, n, limits)), limits);
        }
    });
    save(filter.histories, s);
}

void series(const float* const* inputs, float* const* outputs, std::int32_t frames, const BiquadFilter& first,
            const BiquadFilter& second) {
    const Coefficients2 c1 = broadcast(first);
    const Coefficients2 c2 = broadcast(second);
    const FrameLimits limits;
    State2 s1 = load(first.histories);
    State2 s2 = load(second.histories);
    inChunks(inputs, outputs, frames, [&](const float* const* in, float* const* out, std::int32_t count) {
        silenceIfTiny(s1);
        silenceIfTiny(s2);
        for (std::int32_t n = 0; n < count; ++n) {
            writeFrame(out, n, step(c2, s2, step(c1, s1, readFrame(in, n, limits))), limits);
        }
    });
    save(first.histories, s1);
    save(second.histories, s2);
}

void average(const float* const* inputs, float* const* outputs, std::int32_t frames, const BiquadFilter& first,
             const BiquadFilter& second) {
    const Coefficients2 c1 = broadcast(first);
    const Coefficients2 c2 = broadcast(second);
    const __m128d half = _mm_set1_pd(0.5);
    const FrameLimits limits;
    State2 s1 = load(first.histories);
    State2 s2 = load(second.histories);
    inChunks(inputs, outputs, frames, [&](const float* const* in, float* const* out, std::int32_t count) {
        silenceIfTiny(s1);
        silenceIfTiny(s2);
        for (std::int32_t n = 0; n < count; ++n) {
            const __m128d x = readFrame(in, n, limits);
            const __m128d sum = _mm_add_pd(step(c1, s1, x), step(c2, s2, x));
            writeFrame(out, n, _mm_mul_pd(sum, half), limits);
        }
    });
    save(first.histories, s1);
    save(second.histories, s2);
}

}  // namespace

const BiquadKernels& sse2BiquadKernels() {
    static constexpr BiquadKernels kernels{single, series, average, "SSE2"};
    return kernels;
}
