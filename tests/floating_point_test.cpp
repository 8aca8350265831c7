// The callback keeps slow decays out of denormal numbers and leaves the host's floating-point mode alone.
#include <xmmintrin.h>

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
