// The run-time-chosen kernels against the SSE2 ones that every processor runs: a host's processor
// picks one set, so the other is reached only here.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "effect/chebyshev_design.h"
#include "effect/stereo_biquad.h"

namespace {

struct Filter {
    Coefficients a{}, b{};
    float histories[4][2]{};
    BiquadFilter view() { return {a, b, {histories[0], histories[1], histories[2], histories[3]}}; }
};

Filter designed(FilterKind kind, float fc) {
    Filter filter;
    designChebyshev(kind, fc, 0.5f, 2, filter.a, filter.b);
    return filter;
}

std::vector<float> noise(std::size_t frames, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> distribution(-1.0f, 1.0f);
    std::vector<float> samples(frames);
    for (float& sample : samples) {
        sample = distribution(generator);
    }
    return samples;
}

enum class Kernel { Single, Series, Average };

// The output of the kernels over the block sizes given, one after the other, in place when asked.
std::vector<float> run(const BiquadKernels& kernels, Kernel which, const std::vector<std::size_t>& blocks,
                       bool inPlace) {
    Filter lowPass = designed(FilterKind::LowPass, 0.01f);
    Filter highPass = designed(FilterKind::HighPass, 0.001f);
    std::size_t total = 0;
    for (std::size_t block : blocks) {
        total += block;
    }
    std::vector<float> left = noise(total, 1), right = noise(total, 2);
    std::vector<float> outLeft(total, 9.0f), outRight(total, 9.0f);
    std::size_t start = 0;
    for (std::size_t block : blocks) {
        const float* in[2] = {left.data() + start, right.data() + start};
        float* out[2] = {inPlace ? left.data() + start : outLeft.data() + start,
                         inPlace ? right.data() + start : outRight.data() + start};
        const auto frames = static_cast<std::int32_t>(block);
        if (which == Kernel::Single) {
            kernels.single(in, out, frames, lowPass.view());
        } else if (which == Kernel::Series) {
            kernels.series(in, out, frames, lowPass.view(), highPass.view());
        } else {
            kernels.average(in, out, frames, lowPass.view(), highPass.view());
        }
        start += block;
    }
    std::vector<float> result = inPlace ? left : outLeft;
    result.insert(result.end(), (inPlace ? right : outRight).begin(), (inPlace ? right : outRight).end());
    return result;
}

}  // namespace

TEST(Kernels, FusedKernelsAgreeWithinOneFloatRoundingInPlaceOrNotForAnyBlocks) {
    const BiquadKernels* fused = fusedKernelsIfSupported();
    if (fused == nullptr) {
        GTEST_SKIP() << "this processor has no AVX with fused multiply-add";
    }
    const std::vector<std::vector<std::size_t>> splits = {
        {5000}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 4955}, {4096, 904}, {4097, 903}, {512, 512, 3976}};
    for (Kernel which : {Kernel::Single, Kernel::Series, Kernel::Average}) {
        for (const auto& split : splits) {
            const std::vector<float> expected = run(sse2BiquadKernels(), which, split, false);
            for (bool inPlace : {false, true}) {
                const std::vector<float> actual = run(*fused, which, split, inPlace);
                for (std::size_t n = 0; n < expected.size(); ++n) {
                    const float tolerance = std::nextafter(std::abs(expected[n]), INFINITY) - std::abs(expected[n]);
                    ASSERT_NEAR(actual[n], expected[n], 2.0f * tolerance + 1e-30f)
                        << "kernel " << static_cast<int>(which) << ", sample " << n << ", blocks " << split.size()
                        << (inPlace ? ", in place" : "");
                }
            }
        }
    }
}
