// The kernels for processors with AVX and fused multiply-add (chosen at run time): one filter's
// channel pair in one register, two filters' four lanes in one AVX register, each recursion step's
// feedback a single fused multiply-add on the critical path. Compiled with -mavx -mfma; nothing here
// may run before the processor has been asked.
#include <immintrin.h>

#include <type_traits>

#include "effect/biquad_common.h"

namespace {

// The feed-forward terms first and the feedback terms last: y[n-1] then waits for one fused
// multiply-add, and y[n-2] for two spread over two steps.
inline __m128d step(const Coefficients2& c, State2& s, __m128d x0) {
    __m128d sum = _mm_fmadd_pd(c.a1, s.x1, _mm_mul_pd(c.a2, s.x2));
    sum = _mm_fmadd_pd(c.a0, x0, sum);
    sum = _mm_fmadd_pd(c.b2, s.y2, sum);
    const __m128d y0 = _mm_fmadd_pd(c.b1, s.y1, sum);
    s.x2 = s.x1;
    s.x1 = x0;
    s.y2 = s.y1;
    s.y1 = y0;
    return y0;
}

// Two filters side by side: lanes 0 and 1 hold the first filter's channels, lanes 2 and 3 the second's.
struct Coefficients4 {
    __m256d a0, a1, a2, b1, b2;
};

struct State4 {
    __m256d x1, x2, y1, y2;
};

inline __m256d join(__m128d low, __m128d high) {
    return _mm256_insertf128_pd(_mm256_castpd128_pd256(low), high, 1);
}

inline __m128d lowHalf(__m256d value) {
    return _mm256_castpd256_pd128(value);
}

inline __m128d highHalf(__m256d value) {
    return _mm256_extractf128_pd(value, 1);
}

// Frame reading and writing for the loops below. A chunk whose inputs are all finite and within
// the limits (nearly always) runs without the per-frame guards; its outputs are then cleared of
// denormals in one pass, eight samples at a time, which costs far less than doing it per frame.
template <bool Guarded>
inline __m128d input(const float* const* inputs, std::int32_t n, const FrameLimits& limits) {
    if constexpr (Guarded) {
        return readFrame(inputs, n, limits);
    } else {
        return pair(inputs[0], inputs[1], n);
    }
}

inline void output(float* const* outputs, std::int32_t n, __m128d frame) {
    const __m128 single = _mm_cvtpd_ps(frame);
    _mm_store_ss(outputs[0] + n, single);
    _mm_store_ss(outputs[1] + n, _mm_shuffle_ps(single, single, 1));
}

// True when some input sample is NaN, infinite or beyond the input limit. Both channels in one loop.
bool needsGuards(const float* const* inputs, std::int32_t frames) {
    const __m256 signBit = _mm256_set1_ps(-0.0f);
    const __m256 limit = _mm256_set1_ps(kInputLimit);
    const float* left = inputs[0];
    const float* right = inputs[1];
    __m256 beyond = _mm256_setzero_ps();
    std::int32_t n = 0;
    for (; n + 8 <= frames; n += 8) {
        const __m256 sizeLeft = _mm256_andnot_ps(signBit, _mm256_loadu_ps(left + n));
        const __m256 sizeRight = _mm256_andnot_ps(signBit, _mm256_loadu_ps(right + n));
        beyond = _mm256_or_ps(beyond, _mm256_cmp_ps(_mm256_max_ps(sizeLeft, sizeRight), limit, _CMP_NLT_UQ));
        // max returns its second operand when either is NaN: a NaN on the left is caught here.
        beyond = _mm256_or_ps(beyond, _mm256_cmp_ps(sizeLeft, sizeLeft, _CMP_UNORD_Q));
    }
    bool found = _mm256_movemask_ps(beyond) != 0;
    for (; n < frames; ++n) {
        found = found || !(left[n] < kInputLimit && left[n] > -kInputLimit) ||
                !(right[n] < kInputLimit && right[n] > -kInputLimit);
    }
    return found;
}

// Both channels in one loop.
void clearDenormals(float* const* outputs, std::int32_t frames) {
    const __m256 signBit = _mm256_set1_ps(-0.0f);
    const auto smallestNormal = static_cast<float>(kSmallestNormal);
    const __m256 smallest = _mm256_set1_ps(smallestNormal);
    float* left = outputs[0];
    float* right = outputs[1];
    auto clear = [&](float* at) {
        const __m256 value = _mm256_loadu_ps(at);
        const __m256 normal = _mm256_cmp_ps(_mm256_andnot_ps(signBit, value), smallest, _CMP_GE_OQ);
        _mm256_storeu_ps(at, _mm256_and_ps(value, normal));
    };
    std::int32_t n = 0;
    for (; n + 8 <= frames; n += 8) {
        clear(left + n);
        clear(right + n);
    }
    for (; n < frames; ++n) {
        left[n] = left[n] < smallestNormal && left[n] > -smallestNormal ? 0.0f : left[n];
        right[n] = right[n] < smallestNormal && right[n] > -smallestNormal ? 0.0f : right[n];
    }
}

// The inputs are read twice and the outputs written twice per chunk: short chunks keep both in the
// first-level cache whatever the block length.
constexpr std::int32_t kCachedFrames = 512;

// Runs loop<true> or loop<false> over one chunk, as its inputs need, then clears its outputs.
template <typename Loop>
inline void guardedAsNeeded(const float* const* in, float* const* out, std::int32_t count, Loop loop) {
    if (needsGuards(in, count)) {
        loop(std::true_type{});
    } else {
        loop(std::false_type{});
    }
    clearDenormals(out, count);
}

Coefficients4 broadcast(const Coefficients2& first, const Coefficients2& second) {
    return {join(first.a0, second.a0), join(first.a1, second.a1), join(first.a2, second.a2), join(first.b1, second.b1),
            join(first.b2, second.b2)};
}

State4 join(const State2& first, const State2& second) {
    return {join(first.x1, second.x1), join(first.x2, second.x2), join(first.y1, second.y1), join(first.y2, second.y2)};
}

inline __m256d step(const Coefficients4& c, State4& s, __m256d x0) {
    __m256d sum = _mm256_fmadd_pd(c.a1, s.x1, _mm256_mul_pd(c.a2, s.x2));
    sum = _mm256_fmadd_pd(c.a0, x0, sum);
    sum = _mm256_fmadd_pd(c.b2, s.y2, sum);
    const __m256d y0 = _mm256_fmadd_pd(c.b1, s.y1, sum);
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
    inChunks<kCachedFrames>(inputs, outputs, frames,
                            [&](const float* const* in, float* const* out, std::int32_t count) {
                                silenceIfTiny(s);
                                guardedAsNeeded(in, out, count, [&](auto guarded) {
                                    for (std::int32_t n = 0; n < count; ++n) {
                                        output(out, n, step(c, s, input<guarded>(in, n, limits)));
                                    }
                                });
                            });
    save(filter.histories, s);
}

// Moving the first filter's output into the second filter's lanes takes a few cycles, and the input
// passes three multiply-adds before the output: the second filter therefore runs four frames behind
// the first, on outputs that have long been ready, and neither recursion waits for the other.
constexpr std::int32_t kSeriesLag = 4;

void series(const float* const* inputs, float* const* outputs, std::int32_t frames, const BiquadFilter& first,
            const BiquadFilter& second) {
    const Coefficients2 c1 = broadcast(first);
    const Coefficients2 c2 = broadcast(second);
    const Coefficients4 c = broadcast(c1, c2);
    const FrameLimits limits;
    State2 s1 = load(first.histories);
    State2 s2 = load(second.histories);
    inChunks<kCachedFrames>(inputs, outputs, frames,
                            [&](const float* const* in, float* const* out, std::int32_t count) {
                                silenceIfTiny(s1);
                                silenceIfTiny(s2);
                                guardedAsNeeded(in, out, count, [&](auto guarded) {
                                    if (count <= kSeriesLag) {
                                        for (std::int32_t n = 0; n < count; ++n) {
                                            output(out, n, step(c2, s2, step(c1, s1, input<guarded>(in, n, limits))));
                                        }
                                        return;
                                    }
                                    // The first filter's outputs four and three frames back; the two after them are its
                                    // y2 and y1.
                                    __m128d lag4 = step(c1, s1, input<guarded>(in, 0, limits));
                                    __m128d lag3 = step(c1, s1, input<guarded>(in, 1, limits));
                                    step(c1, s1, input<guarded>(in, 2, limits));
                                    step(c1, s1, input<guarded>(in, 3, limits));
                                    State4 s = join(s1, s2);
                                    for (std::int32_t n = kSeriesLag; n < count; ++n) {
                                        const __m256d x0 = join(input<guarded>(in, n, limits), lag4);
                                        lag4 = lag3;
                                        lag3 = lowHalf(s.y2);
                                        output(out, n - kSeriesLag, highHalf(step(c, s, x0)));
                                    }
                                    s1 = {lowHalf(s.x1), lowHalf(s.x2), lowHalf(s.y1), lowHalf(s.y2)};
                                    s2 = {highHalf(s.x1), highHalf(s.x2), highHalf(s.y1), highHalf(s.y2)};
                                    output(out, count - 4, step(c2, s2, lag4));
                                    output(out, count - 3, step(c2, s2, lag3));
                                    output(out, count - 2, step(c2, s2, s1.y2));
                                    output(out, count - 1, step(c2, s2, s1.y1));
                                });
                            });
    save(first.histories, s1);
    save(second.histories, s2);
}

// Both filters run at half scale (their feed-forward coefficients and output histories halved, which
// is exact in binary floating point), so that the average is a single addition of the two halves.
Coefficients2 halvedFeedForward(Coefficients2 c) {
    const __m128d half = _mm_set1_pd(0.5);
    c.a0 = _mm_mul_pd(c.a0, half);
    c.a1 = _mm_mul_pd(c.a1, half);
    c.a2 = _mm_mul_pd(c.a2, half);
    return c;
}

State2 scaledOutputs(State2 s, double factor) {
    const __m128d by = _mm_set1_pd(factor);
    s.y1 = _mm_mul_pd(s.y1, by);
    s.y2 = _mm_mul_pd(s.y2, by);
    return s;
}

void average(const float* const* inputs, float* const* outputs, std::int32_t frames, const BiquadFilter& first,
             const BiquadFilter& second) {
    const Coefficients4 c = broadcast(halvedFeedForward(broadcast(first)), halvedFeedForward(broadcast(second)));
    const FrameLimits limits;
    State2 s1 = scaledOutputs(load(first.histories), 0.5);
    State2 s2 = scaledOutputs(load(second.histories), 0.5);
    inChunks<kCachedFrames>(inputs, outputs, frames,
                            [&](const float* const* in, float* const* out, std::int32_t count) {
                                silenceIfTiny(s1);
                                silenceIfTiny(s2);
                                State4 s = join(s1, s2);
                                guardedAsNeeded(in, out, count, [&](auto guarded) {
                                    for (std::int32_t n = 0; n < count; ++n) {
                                        const __m128d x = input<guarded>(in, n, limits);
                                        const __m256d y = step(c, s, join(x, x));
                                        output(out, n, _mm_add_pd(lowHalf(y), highHalf(y)));
                                    }
                                });
                                s1 = {lowHalf(s.x1), lowHalf(s.x2), lowHalf(s.y1), lowHalf(s.y2)};
                                s2 = {highHalf(s.x1), highHalf(s.x2), highHalf(s.y1), highHalf(s.y2)};
                            });
    save(first.histories, scaledOutputs(s1, 2.0));
    save(second.histories, scaledOutputs(s2, 2.0));
}

}  // namespace

const BiquadKernels& fusedBiquadKernels() {
    static constexpr BiquadKernels kernels{single, series, average, "AVX with fused multiply-add"};
    return kernels;
}
