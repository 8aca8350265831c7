// The recursion y[n] = a0 x[n] + a1 x[n-1] + a2 x[n-2] + b1 y[n-1] + b2 y[n-2], left and right in one
// SSE2 register: the two channels' recursions run side by side. Within a block the recursion runs in
// double precision and each output is rounded to float once; between blocks the state is kept as
// floats in the histories. Double precision inside the block keeps very low cut-offs (a few hertz
// at high sample rates) decaying instead of sticking on float rounding, and keeps the rounding off
// the recursion's critical path.
#include "effect/stereo_biquad.h"

#include <emmintrin.h>

#include <algorithm>

namespace {

// Denormal numbers cost many times the work of normal ones on some processors, and a filter's
// state decays through them for seconds after every signal. A state whose every value has fallen
// below kSilentState (far above the denormal range, far below anything audible) is set to zero when
// a chunk starts; chunks are short enough that no normal-sized state can decay from above the
// threshold into denormals within one. The host's floating-point mode is left untouched.
constexpr double kSilentState = 1.0e-30;
constexpr std::int32_t kChunkFrames = 4096;

struct Coefficients2 {
    __m128d a0, a1, a2, b1, b2;
};

struct State2 {
    __m128d x1, x2, y1, y2;
};

Coefficients2 broadcast(const BiquadFilter& filter) {
    return {_mm_set1_pd(static_cast<double>(filter.a[0])), _mm_set1_pd(static_cast<double>(filter.a[1])),
            _mm_set1_pd(static_cast<double>(filter.a[2])), _mm_set1_pd(static_cast<double>(filter.b[1])),
            _mm_set1_pd(static_cast<double>(filter.b[2]))};
}

__m128d pair(const float* left, const float* right, int entry) {
    return _mm_cvtps_pd(_mm_unpacklo_ps(_mm_load_ss(left + entry), _mm_load_ss(right + entry)));
}

State2 load(const BiquadHistories& h) {
    State2 s{pair(h.inputLeft, h.inputRight, 1), pair(h.inputLeft, h.inputRight, 0),
             pair(h.outputLeft, h.outputRight, 1), pair(h.outputLeft, h.outputRight, 0)};
    const __m128d signBit = _mm_set1_pd(-0.0);
    const __m128d largest = _mm_max_pd(_mm_max_pd(_mm_andnot_pd(signBit, s.x1), _mm_andnot_pd(signBit, s.x2)),
                                       _mm_max_pd(_mm_andnot_pd(signBit, s.y1), _mm_andnot_pd(signBit, s.y2)));
    if (_mm_movemask_pd(_mm_cmplt_pd(largest, _mm_set1_pd(kSilentState))) == 0x3) {
        const __m128d zero = _mm_setzero_pd();
        s = {zero, zero, zero, zero};
    }
    return s;
}

void storePair(float* left, float* right, __m128d value) {
    __m128 single = _mm_cvtpd_ps(value);
    _mm_store_ss(left, single);
    _mm_store_ss(right, _mm_shuffle_ps(single, single, 1));
}

void save(const BiquadHistories& h, const State2& s) {
    storePair(h.inputLeft + 1, h.inputRight + 1, s.x1);
    storePair(h.inputLeft, h.inputRight, s.x2);
    storePair(h.outputLeft + 1, h.outputRight + 1, s.y1);
    storePair(h.outputLeft, h.outputRight, s.y2);
}

struct InputLimits {
    __m128d low = _mm_set1_pd(-static_cast<double>(kInputLimit));
    __m128d high = _mm_set1_pd(static_cast<double>(kInputLimit));
};

// Both channels of frame n, NaN taken as silence and magnitudes limited.
inline __m128d readFrame(const float* const* inputs, std::int32_t n, const InputLimits& limits) {
    __m128d x = pair(inputs[0], inputs[1], n);
    x = _mm_and_pd(x, _mm_cmpord_pd(x, x));
    return _mm_min_pd(_mm_max_pd(x, limits.low), limits.high);
}

inline void writeFrame(float* const* outputs, std::int32_t n, __m128 frame) {
    _mm_store_ss(outputs[0] + n, frame);
    _mm_store_ss(outputs[1] + n, _mm_shuffle_ps(frame, frame, 1));
}

// One step of one filter on both channels. Everything but b1 y[n-1] is summed off the critical path.
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

// Runs body(inputs, outputs, frames) over the block in chunks, the state reloaded for each.
template <typename Chunk>
void inChunks(const float* const* inputs, float* const* outputs, std::int32_t frames, Chunk body) {
    std::int32_t start = 0;
    do {
        const float* in[2] = {inputs[0] + start, inputs[1] + start};
        float* out[2] = {outputs[0] + start, outputs[1] + start};
        body(in, out, std::min(kChunkFrames, frames - start));
        start += kChunkFrames;
    } while (start < frames);
}

}  // namespace

void runBiquad(const float* const* inputs, float* const* outputs, std::int32_t frames, const BiquadFilter& filter) {
    const Coefficients2 c = broadcast(filter);
    const InputLimits limits;
    inChunks(inputs, outputs, frames, [&](const float* const* in, float* const* out, std::int32_t count) {
        State2 s = load(filter.histories);
        for (std::int32_t n = 0; n < count; ++n) {
            writeFrame(out, n, _mm_cvtpd_ps(step(c, s, readFrame(in, n, limits))));
        }
        save(filter.histories, s);
    });
}

void runBiquadSeries(const float* const* inputs, float* const* outputs, std::int32_t frames, const BiquadFilter& first,
                     const BiquadFilter& second) {
    const Coefficients2 c1 = broadcast(first);
    const Coefficients2 c2 = broadcast(second);
    const InputLimits limits;
    inChunks(inputs, outputs, frames, [&](const float* const* in, float* const* out, std::int32_t count) {
        State2 s1 = load(first.histories);
        State2 s2 = load(second.histories);
        for (std::int32_t n = 0; n < count; ++n) {
            writeFrame(out, n, _mm_cvtpd_ps(step(c2, s2, step(c1, s1, readFrame(in, n, limits)))));
        }
        save(first.histories, s1);
        save(second.histories, s2);
    });
}

void runBiquadAverage(const float* const* inputs, float* const* outputs, std::int32_t frames, const BiquadFilter& first,
                      const BiquadFilter& second) {
    const Coefficients2 c1 = broadcast(first);
    const Coefficients2 c2 = broadcast(second);
    const __m128d half = _mm_set1_pd(0.5);
    const InputLimits limits;
    inChunks(inputs, outputs, frames, [&](const float* const* in, float* const* out, std::int32_t count) {
        State2 s1 = load(first.histories);
        State2 s2 = load(second.histories);
        for (std::int32_t n = 0; n < count; ++n) {
            const __m128d x = readFrame(in, n, limits);
            const __m128d sum = _mm_add_pd(step(c1, s1, x), step(c2, s2, x));
            writeFrame(out, n, _mm_cvtpd_ps(_mm_mul_pd(sum, half)));
        }
        save(first.histories, s1);
        save(second.histories, s2);
    });
}
