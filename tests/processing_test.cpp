// Audio through the record: the four modes, block lengths, in-place buffers, sample rates and faults.
#include <algorithm>
#include <limits>
#include <random>

#include "effect/stereo_biquad.h"
#include "tests/test_host.h"

using namespace testhost;

namespace {

Stereo noise(std::size_t frames, unsigned seed = 1) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> distribution(-1.0f, 1.0f);
    Stereo signal(frames);
    for (std::size_t n = 0; n < frames; ++n) {
        signal.left[n] = distribution(generator);
        signal.right[n] = distribution(generator);
    }
    return signal;
}

std::unique_ptr<HostedEffect> effectIn(float mode, double lower = 300.0, double upper = 3000.0) {
    auto effect = makeEffect();
    effect->setParameter(0, normalisedCutoff(lower));
    effect->setParameter(1, normalisedCutoff(upper));
    effect->setParameter(2, mode);
    return effect;
}

void expectClose(const Stereo& a, const Stereo& b, float tolerance) {
    ASSERT_EQ(a.frames(), b.frames());
    for (std::size_t n = 0; n < a.frames(); ++n) {
        ASSERT_NEAR(a.left[n], b.left[n], tolerance) << "frame " << n;
        ASSERT_NEAR(a.right[n], b.right[n], tolerance) << "frame " << n;
    }
}

bool allFinite(const Stereo& s) {
    auto finite = [](float v) { return std::isfinite(v); };
    return std::all_of(s.left.begin(), s.left.end(), finite) && std::all_of(s.right.begin(), s.right.end(), finite);
}

}  // namespace

TEST(Processing, SilenceInGivesExactSilenceOutInEveryMode) {
    for (float mode : kModes) {
        auto effect = effectIn(mode);
        Stereo input(1000);
        Stereo output = process(*effect, input, 256);
        for (std::size_t n = 0; n < output.frames(); ++n) {
            ASSERT_EQ(output.left[n], 0.0f);
            ASSERT_EQ(output.right[n], 0.0f);
        }
    }
}

TEST(Processing, ChannelsAreIndependent) {
    for (float mode : kModes) {
        auto effect = effectIn(mode);
        Stereo input = noise(2000);
        std::fill(input.right.begin(), input.right.end(), 0.0f);
        Stereo output = process(*effect, input, 512);
        EXPECT_TRUE(std::all_of(output.right.begin(), output.right.end(), [](float v) { return v == 0.0f; }));
        EXPECT_GT(levelDb(output.left, 0), -40.0);
    }
}

TEST(Processing, LowPassImpulseResponseFollowsTheRecursion) {
    auto effect = effectIn(kModeLowPass, 1000.0);
    Stereo input(64);
    input.left[0] = 1.0f;
    Stereo output = process(*effect, input, 64);
    const double a0 = output.left[0];
    EXPECT_NEAR(a0, 0.004243, 1e-5);
    // y1 = a1 + b1 y0 and y2 = a2 + b1 y1 + b2 y0 with the 1000 Hz design.
    EXPECT_NEAR(output.left[1], 0.008486 + 1.8161 * a0, 2e-5);
    EXPECT_GT(output.left[2], output.left[1]);
}

TEST(Processing, AnyBlockSplitGivesTheSameOutput) {
    Stereo input = noise(3000);
    for (float mode : kModes) {
        auto whole = effectIn(mode);
        Stereo reference = process(*whole, input, input.frames());
        for (std::size_t block : {1u, 2u, 3u, 512u, 2048u}) {
            auto split = effectIn(mode);
            expectClose(process(*split, input, block), reference, 1e-5f);
        }
    }
}

TEST(Processing, EmptyBlocksChangeNothing) {
    for (float mode : kModes) {
        Stereo input = noise(1000);
        auto plain = effectIn(mode);
        Stereo reference = process(*plain, input, 100);
        auto interrupted = effectIn(mode);
        Stereo output(input.frames());
        for (std::size_t start = 0; start < input.frames(); start += 100) {
            float* in[2] = {input.left.data() + start, input.right.data() + start};
            float* out[2] = {output.left.data() + start, output.right.data() + start};
            interrupted->processReplacing(in, out, 0);
            interrupted->processReplacing(in, out, -5);
            interrupted->processReplacing(in, out, 100);
        }
        expectClose(output, reference, 0.0f);
    }
}

TEST(Processing, BlocksLongerThanTheAnnouncedBlockSize) {
    for (float mode : kModes) {
        auto effect = effectIn(mode);
        effect->setBlockSize(32);
        Stereo input = noise(100000);
        Stereo output = process(*effect, input, input.frames());
        EXPECT_TRUE(allFinite(output));
        EXPECT_GT(levelDb(output.left, 0), -30.0);
    }
}

TEST(Processing, InPlaceBuffersGiveTheSameOutput) {
    Stereo input = noise(4096);
    for (float mode : kModes) {
        auto separate = effectIn(mode);
        Stereo reference = process(*separate, input, 256);
        auto inPlace = effectIn(mode);
        Stereo buffer = input;
        for (std::size_t start = 0; start < buffer.frames(); start += 256) {
            float* io[2] = {buffer.left.data() + start, buffer.right.data() + start};
            inPlace->processReplacing(io, io, 256);
        }
        expectClose(buffer, reference, 0.0f);
    }
}

TEST(Processing, OutputBuffersAreOverwritten) {
    for (float mode : kModes) {
        auto effect = effectIn(mode);
        Stereo input(256);
        Stereo output(256, std::numeric_limits<float>::quiet_NaN());
        effect->processReplacing(input.channels(), output.channels(), 256);
        EXPECT_TRUE(std::all_of(output.left.begin(), output.left.end(), [](float v) { return v == 0.0f; }));
        EXPECT_TRUE(std::all_of(output.right.begin(), output.right.end(), [](float v) { return v == 0.0f; }));
    }
}

TEST(Processing, ModesShapeTheSpectrum) {
    const double rate = 44100.0;
    auto levelThrough = [&](float mode, double lower, double upper, double hertz) {
        auto effect = effectIn(mode, lower, upper);
        Stereo input = sine(hertz, rate, 44100);
        return levelDb(process(*effect, input, 512).left, 22050) - levelDb(input.left, 22050);
    };
    EXPECT_NEAR(levelThrough(kModeLowPass, 1000, 0, 100), 0.0, 0.1);
    EXPECT_LT(levelThrough(kModeLowPass, 1000, 0, 10000), -35.0);
    EXPECT_NEAR(levelThrough(kModeHighPass, 1000, 0, 10000), 0.0, 0.1);
    EXPECT_LT(levelThrough(kModeHighPass, 1000, 0, 100), -35.0);
    EXPECT_NEAR(levelThrough(kModeBandPass, 100, 10000, 1000), 0.0, 0.2);
    EXPECT_LT(levelThrough(kModeBandPass, 10000, 100, 1000), -30.0);
    EXPECT_LT(levelThrough(kModeBandStop, 500, 2000, 1000), -9.0);
    EXPECT_NEAR(levelThrough(kModeBandStop, 500, 2000, 50), -6.02, 0.1);
}

TEST(Processing, BandStopSettlesAtHalfAConstantInput) {
    auto effect = effectIn(kModeBandStop, 200.0, 5000.0);
    Stereo input(44100, 0.8f);
    Stereo output = process(*effect, input, 1024);
    EXPECT_NEAR(output.left.back(), 0.4f, 1e-4f);
}

TEST(Processing, ModeSwitchWhileSoundingGoesOverWithoutAJump) {
    // A low-pass passing a constant, switched to high-pass: the output fades from the constant
    // towards the high-pass's silence instead of jumping.
    auto effect = effectIn(kModeLowPass, 1000.0);
    Stereo tone(4096, 0.5f);
    process(*effect, tone, 512);
    effect->setParameter(2, kModeHighPass);
    Stereo more(44100, 0.5f);
    Stereo output = process(*effect, more, 512);
    EXPECT_NEAR(output.left[0], 0.5f, 0.01f);
    for (std::size_t n = 1; n < 4410; ++n) {
        ASSERT_LE(std::abs(output.left[n] - output.left[n - 1]), 0.01f) << "frame " << n;
    }
    EXPECT_EQ(output.left.back(), 0.0f);
}

TEST(Processing, NewSampleRateMovesTheResponseWithIt) {
    // After the host switches to 96 kHz, a 1 kHz low-pass is still -3 dB at 1 kHz.
    auto effect = effectIn(kModeLowPass, 1000.0);
    effect->setSampleRate(96000.0f);
    Stereo input = sine(1000.0, 96000.0, 96000);
    double gain = levelDb(process(*effect, input, 512).left, 48000) - levelDb(input.left, 48000);
    EXPECT_NEAR(gain, -3.0, 0.3);
}

TEST(Processing, StableAndFiniteForEveryRateAndAbsurdParameter) {
    const float values[] = {-1e30f, -0.5f, 0.0f, 1.0f, 1.3f, 1e30f, std::nanf(""), INFINITY};
    for (float rate : {8000.0f, 22050.0f, 39999.0f, 44100.0f, 384000.0f}) {
        for (float mode : kModes) {
            for (float value : values) {
                auto effect = effectIn(mode);
                effect->setSampleRate(rate);
                effect->setParameter(0, value);
                effect->setParameter(1, value);
                Stereo input = noise(8192, 3);
                Stereo output = process(*effect, input, 512);
                ASSERT_TRUE(allFinite(output)) << "rate " << rate << " mode " << mode << " value " << value;
                ASSERT_LT(levelDb(output.left, 4096), 20.0)
                    << "rate " << rate << " mode " << mode << " value " << value;
            }
        }
    }
}

TEST(Processing, AbsurdSampleRatesFromTheHostStayFinite) {
    for (float rate : {0.0f, -44100.0f, 1.0f, 1e9f, std::nanf(""), INFINITY}) {
        for (float mode : kModes) {
            auto effect = effectIn(mode);
            effect->setSampleRate(rate);
            Stereo input = noise(4096, 5);
            Stereo output = process(*effect, input, 512);
            ASSERT_TRUE(allFinite(output)) << "rate " << rate << " mode " << mode;
            ASSERT_LT(levelDb(output.left, 0), 20.0) << "rate " << rate << " mode " << mode;
        }
    }
}

TEST(Processing, HugeFiniteInputStaysFinite) {
    for (float mode : kModes) {
        auto effect = effectIn(mode, 20000.0, 20.0);
        Stereo input(4096);
        for (std::size_t n = 0; n < input.frames(); ++n) {
            float sign = n % 2 == 0 ? 1.0f : -1.0f;
            input.left[n] = sign * std::numeric_limits<float>::max();
            input.right[n] = -input.left[n];
        }
        EXPECT_TRUE(allFinite(process(*effect, input, 512))) << mode;
    }
}

// The kernels read a NaN input sample as silence and an infinite one as the input limit with its sign,
// so that no output and no history becomes non-finite. The block with the fault therefore gives what
// the same block gives with silence in place of a NaN (exactly) or, for an infinity, the float just
// inside the limit (within a millionth of the limit); finite throughout, the frames before the fault
// untouched. The reference blocks need none of the guards that the faults call for. The effect then
// plays on from the state the fault left, and keeps sounding.
TEST(Processing, RecoversFromNonFiniteInputWithinOneBlock) {
    for (float mode : kModes) {
        for (float fault : {std::numeric_limits<float>::quiet_NaN(), INFINITY, -INFINITY}) {
            const bool nan = std::isnan(fault);
            const float readAs = nan ? 0.0f : std::copysign(std::nextafter(kInputLimit, 0.0f), fault);
            const float tolerance = nan ? 0.0f : kInputLimit * 1e-6f;
            auto effect = effectIn(mode);
            auto reference = effectIn(mode);
            // Each channel's fault alone, in blocks of its own and in the middle of a block.
            Stereo input = noise(2048);
            Stereo asRead = noise(2048);
            input.left[300] = fault;
            input.right[1500] = fault;
            asRead.left[300] = readAs;
            asRead.right[1500] = readAs;
            const Stereo output = process(*effect, input, 1024);
            const Stereo expected = process(*reference, asRead, 1024);
            SCOPED_TRACE(testing::Message() << "mode " << mode << ", fault " << fault);
            EXPECT_TRUE(allFinite(output));
            expectClose(output, expected, tolerance);
            EXPECT_TRUE(std::equal(output.left.begin(), output.left.begin() + 300, expected.left.begin()));
            EXPECT_TRUE(std::equal(output.right.begin(), output.right.begin() + 1500, expected.right.begin()));

            Stereo after = noise(1024, 9);
            const Stereo next = process(*effect, after, 1024);
            EXPECT_TRUE(allFinite(next));
            expectClose(next, process(*reference, after, 1024), tolerance);
            EXPECT_GT(levelDb(next.left, 512), -40.0) << "still producing sound";
        }
    }
}

// A host stops and starts (or starts an export) with effMainsChanged 0 then 1: what follows must not
// depend on what played before, in the middle of a fade or not, so that two renders are equal.
TEST(Processing, ResumeStartsFromSilence) {
    for (float mode : kModes) {
        for (bool inFade : {false, true}) {
            auto played = effectIn(mode);
            Stereo loud = noise(4410, 3);
            process(*played, loud, 512);
            if (inFade) {
                played->setParameter(0, normalisedCutoff(150.0));
                Stereo more = noise(64, 4);
                process(*played, more, 64);
            }
            played->suspend();
            played->resume();
            auto fresh = effectIn(mode, inFade ? 150.0 : 300.0);
            fresh->suspend();
            fresh->resume();
            Stereo input = noise(8192, 5);
            const Stereo afterResume = process(*played, input, 512);
            const Stereo reference = process(*fresh, input, 512);
            EXPECT_EQ(afterResume.left, reference.left) << "mode " << mode << (inFade ? " during a fade" : "");
            EXPECT_EQ(afterResume.right, reference.right) << "mode " << mode << (inFade ? " during a fade" : "");
        }
    }
}
