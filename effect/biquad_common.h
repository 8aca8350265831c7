// What every build of the stereo biquad kernels shares: reading and writing frames and histories.
// Included only by the kernels' translation units, each compiled for its own instruction set: hence
// everything here has internal linkage, so that no copy built for one set is linked into another.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "effect/stereo_biquad.h"

namespace {

// Denormal numbers cost many times the work of normal ones on some processors, and a filter's
// state decays through them for seconds after every signal. A state whose every value has fallen
// below kSilentState (far below anything audible) is set to zero when a chunk starts, so that long
// decays end in exact zeros. The host's floating-point mode is left untouched.
constexpr double kSilentState = 1.0e-30;
constexpr std::int32_t kChunkFrames = 4096;

// The smallest normal float. Output samples below it in magnitude are written as zero: a host's
// next plug-in would otherwise compute with the denormals we hand on.
constexpr double kSmallestNormal = 1.17549435082228750797e-38;

// One filter's coefficients, each in both lanes.
struct Coefficients2 {
    __m128d a0, a1, a2, b1, b2;
};

inline Coefficients2 broadcast(const BiquadFilter& filter) {
    return {_mm_set1_pd(static_cast<double>(filter.a[0])), _mm_set1_pd(static_cast<double>(filter.a[1])),
            _mm_set1_pd(static_cast<double>(filter.a[2])), _mm_set1_pd(static_cast<double>(filter.b[1])),
            _mm_set1_pd(static_cast<double>(filter.b[2]))};
}

struct State2 {
    __m128d x1, x2, y1, y2;
};

inline __m128d pair(const float* left, const float* right, int entry) {
    return _mm_cvtps_pd(_mm_unpacklo_ps(_mm_load_ss(left + entry), _mm_load_ss(right + entry)));
}

inline __m128d magnitude(__m128d value) {
    return _mm_andnot_pd(_mm_set1_pd(-0.0), value);
}

inline State2 load(const BiquadHistories& h) {
    return {pair(h.inputLeft, h.inputRight, 1), pair(h.inputLeft, h.inputRight, 0),
            pair(h.outputLeft, h.outputRight, 1), pair(h.outputLeft, h.outputRight, 0)};
}

// Called as each chunk starts: a state that has decayed to nothing becomes exact silence.
inline void silenceIfTiny(State2& s) {
    const __m128d largest =
        _mm_max_pd(_mm_max_pd(magnitude(s.x1), magnitude(s.x2)), _mm_max_pd(magnitude(s.y1), magnitude(s.y2)));
    if (_mm_movemask_pd(_mm_cmplt_pd(largest, _mm_set1_pd(kSilentState))) == 0x3) {
        const __m128d zero = _mm_setzero_pd();
        s = {zero, zero, zero, zero};
    }
}

inline void storePair(float* left, float* right, __m128d value) {
    __m128 single = _mm_cvtpd_ps(value);
    _mm_store_ss(left, single);
    _mm_store_ss(right, _mm_shuffle_ps(single, single, 1));
}

inline void save(const BiquadHistories& h, const State2& s) {
    storePair(h.inputLeft + 1, h.inputRight + 1, s.x1);
    storePair(h.inputLeft, h.inputRight, s.x2);
    storePair(h.outputLeft + 1, h.outputRight + 1, s.y1);
    storePair(h.outputLeft, h.outputRight, s.y2);
}

struct FrameLimits {
    __m128d low = _mm_set1_pd(-static_cast<double>(kInputLimit));
    __m128d high = _mm_set1_pd(static_cast<double>(kInputLimit));
    __m128d smallestNormal = _mm_set1_pd(kSmallestNormal);
};

// Both channels of frame n, NaN taken as silence and magnitudes limited.
inline __m128d readFrame(const float* const* inputs, std::int32_t n, const FrameLimits& limits) {
    __m128d x = pair(inputs[0], inputs[1], n);
    x = _mm_and_pd(x, _mm_cmpord_pd(x, x));
    return _mm_min_pd(_mm_max_pd(x, limits.low), limits.high);
}

// Both channels of frame n, rounded to float, with what would round to a denormal written as zero.
inline void writeFrame(float* const* outputs, std::int32_t n, __m128d frame, const FrameLimits& limits) {
    const __m128d normal = _mm_and_pd(frame, _mm_cmpge_pd(magnitude(frame), limits.smallestNormal));
    const __m128 single = _mm_cvtpd_ps(normal);
    _mm_store_ss(outputs[0] + n, single);
    _mm_store_ss(outputs[1] + n, _mm_shuffle_ps(single, single, 1));
}

// Runs body(inputs, outputs, frames) over the block in chunks of at most chunkFrames.
template <std::int32_t chunkFrames = kChunkFrames, typename Chunk>
inline void inChunks(const float* const* inputs, float* const* outputs, std::int32_t frames, Chunk body) {
    static_assert(chunkFrames <= kChunkFrames, "longer chunks could decay into denormals within one");
    std::int32_t start = 0;
    do {
        const float* in[2] = {inputs[0] + start, inputs[1] + start};
        float* out[2] = {outputs[0] + start, outputs[1] + start};
        const std::int32_t left = frames - start;
        body(in, out, left < chunkFrames ? left : chunkFrames);
        start += chunkFrames;
    } while (start < frames);
}

}  // namespace
