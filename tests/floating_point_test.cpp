// The callback keeps slow decays out of denormal numbers and leaves the host's floating-point mode alone.
#include <xmmintrin.h>

#include <algorithm>

#include "tests/test_host.h"

using namespace testhost;

TEST(FloatingPoint, HostModeIsUnchangedAfterEveryCall) {
    auto effect = makeEffect();
    Stereo input = sine(100.0, 44100.0, 512);
    Stereo output(512);
    const unsigned original = _mm_getcsr();
    for (unsigned mode : {original & ~0x8040u, original | 0x8040u, (original & ~0x8040u) | 0x8000u}) {
        _mm_setcsr(mode);
        effect->processReplacing(input.channels(), output.channels(), 512);
        EXPECT_EQ(_mm_getcsr() & ~0x3Fu, mode & ~0x3Fu);  // status flags aside, the mode is unchanged
    }
    _mm_setcsr(original);
}

TEST(FloatingPoint, SlowestDecayAfterASignalNeverReachesDenormals) {
    for (float mode : kModes) {
        auto effect = makeEffect();
        effect->setParameter(0, 0.0f);  // 20 Hz: the slowest decay
        effect->setParameter(1, 0.0f);
        effect->setParameter(2, mode);
        Stereo loud = sine(30.0, 44100.0, 4410, 1.0);
        process(*effect, loud, 512);
        Stereo silence(44100 * 20);
        Stereo tail = process(*effect, silence, 4096);
        for (float sample : tail.left) {
            ASSERT_TRUE(sample == 0.0f || std::abs(sample) >= 1.17549435e-38f) << sample;
        }
        EXPECT_EQ(tail.left.back(), 0.0f) << "the tail dies out completely";
    }
}

// Every output sample is zero or a normal float at every rate, block size and mode, also while a
// fast filter's tail decays through the range where denormals lie.
TEST(FloatingPoint, NoDenormalOutputAtAnyRateBlockSizeOrMode) {
    const float rates[] = {8000, 11025, 16000, 22050, 32000, 44100, 48000, 88200, 96000, 384000};
    const std::int32_t blocks[] = {0, 1, 2, 3, 7, 32, 64, 512, 4096, 8191, 100000};
    int denormalCells = 0;
    for (float rate : rates) {
        const auto frames = static_cast<std::size_t>(rate) / 4;
        Stereo input = sine(3000.0, static_cast<double>(rate), frames, 0.9);
        std::fill(input.left.begin() + static_cast<std::ptrdiff_t>(frames / 10), input.left.end(), 0.0f);
        std::fill(input.right.begin() + static_cast<std::ptrdiff_t>(frames / 10), input.right.end(), 0.0f);
        for (std::int32_t block : blocks) {
            for (float mode : kModes) {
                for (float cutoffs : {0.05f, 1.0f}) {
                    auto effect = makeEffect();
                    effect->setSampleRate(rate);
                    effect->setParameter(0, cutoffs);
                    effect->setParameter(1, cutoffs);
                    effect->setParameter(2, mode);
                    effect->resume();
                    Stereo output(frames, 1.0f);
                    effect->processReplacing(input.channels(), output.channels(), 0);
                    Stereo tail = process(*effect, input, block == 0 ? 512 : static_cast<std::size_t>(block));
                    const auto denormal = [](float v) { return v != 0.0f && std::abs(v) < 1.17549435e-38f; };
                    if (std::any_of(tail.left.begin(), tail.left.end(), denormal) ||
                        std::any_of(tail.right.begin(), tail.right.end(), denormal)) {
                        ++denormalCells;
                        ADD_FAILURE() << "denormal output at " << rate << " Hz, block " << block << ", mode " << mode
                                      << ", cut-offs " << cutoffs;
                    }
                }
            }
        }
    }
    EXPECT_EQ(denormalCells, 0);
}
