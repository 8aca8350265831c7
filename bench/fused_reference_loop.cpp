// The fused multiply-add yardstick: no input limits, no denormal handling, nothing but the recursion.
// Compiled with -mavx -mfma.
#include "bench/fused_reference_loop.h"

#include <immintrin.h>

bool fusedReferenceRuns() {
    return __builtin_cpu_supports("avx") && __builtin_cpu_supports("fma");
}

void fusedReferenceProcess(FusedReferenceBiquad& f, float** inputs, float** outputs, std::int32_t frames) {
    const __m128d a0 = _mm_set1_pd(f.a0), a1 = _mm_set1_pd(f.a1), a2 = _mm_set1_pd(f.a2);
    const __m128d b1 = _mm_set1_pd(f.b1), b2 = _mm_set1_pd(f.b2);
    __m128d x1 = _mm_loadu_pd(f.x1), x2 = _mm_loadu_pd(f.x2), y1 = _mm_loadu_pd(f.y1), y2 = _mm_loadu_pd(f.y2);
    const float* left = inputs[0];
    const float* right = inputs[1];
    for (std::int32_t n = 0; n < frames; ++n) {
        const __m128d x0 = _mm_cvtps_pd(_mm_unpacklo_ps(_mm_load_ss(left + n), _mm_load_ss(right + n)));
        __m128d sum = _mm_fmadd_pd(a1, x1, _mm_mul_pd(a2, x2));
        sum = _mm_fmadd_pd(a0, x0, sum);
        sum = _mm_fmadd_pd(b2, y2, sum);
        const __m128d y0 = _mm_fmadd_pd(b1, y1, sum);
        const __m128 out = _mm_cvtpd_ps(y0);
        _mm_store_ss(outputs[0] + n, out);
        _mm_store_ss(outputs[1] + n, _mm_shuffle_ps(out, out, 1));
        x2 = x1;
        x1 = x0;
        y2 = y1;
        y1 = y0;
    }
    _mm_storeu_pd(f.x1, x1);
    _mm_storeu_pd(f.x2, x2);
    _mm_storeu_pd(f.y1, y1);
    _mm_storeu_pd(f.y2, y2);
}
