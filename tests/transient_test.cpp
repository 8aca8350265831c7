// Changes while audio plays: jumps of every parameter, programs, chunks and sample rates stay within
// 6 dB of the settled levels around them, and the new design takes over exactly once it has settled.
#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <random>

#include "tests/test_host.h"

using namespace testhost;

namespace {

constexpr std::size_t kBlock = 512;
constexpr float kNoisePeak = 0.8f;        // about -2 dBFS
constexpr double kAllowedRatio = 1.9953;  // +6 dB

Stereo noise(std::size_t frames, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> distribution(-kNoisePeak, kNoisePeak);
    Stereo signal(frames);
    for (std::size_t n = 0; n < frames; ++n) {
        signal.left[n] = distribution(generator);
        signal.right[n] = distribution(generator);
    }
    return signal;
}

float peak(const Stereo& s, std::size_t from, std::size_t to) {
    float largest = 0.0f;
    for (std::size_t n = from; n < to; ++n) {
        largest = std::max({largest, std::abs(s.left[n]), std::abs(s.right[n])});
    }
    return largest;
}

struct Levels {
    float before, transient, after;
    double ratio() const {
        return static_cast<double>(transient) / std::max(static_cast<double>(std::max(before, after)), 1e-30);
    }
};

// Half a second of noise, the change, one more second. Settled before: the quarter second before
// the change; transient: the quarter second after it; settled after: its last quarter second. Fades
// last at most 50 ms, and a 20 Hz filter settles within 40 ms.
Levels acrossChange(HostedEffect& effect, double rate, const std::function<void()>& change) {
    const auto quarter = static_cast<std::size_t>(rate) / 4;
    static std::map<std::size_t, Stereo> noiseByLength;
    auto found = noiseByLength.find(quarter);
    if (found == noiseByLength.end()) {
        found = noiseByLength.emplace(quarter, noise(6 * quarter, 11)).first;
    }
    Stereo& input = found->second;
    Stereo output(input.frames());
    const std::size_t changeAt = 2 * quarter / kBlock * kBlock;
    for (std::size_t start = 0; start < input.frames(); start += kBlock) {
        if (start == changeAt) {
            change();
        }
        const auto frames = static_cast<std::int32_t>(std::min(kBlock, input.frames() - start));
        float* in[2] = {input.left.data() + start, input.right.data() + start};
        float* out[2] = {output.left.data() + start, output.right.data() + start};
        effect.processReplacing(in, out, frames);
    }
    return {peak(output, changeAt - quarter, changeAt), peak(output, changeAt, changeAt + quarter),
            peak(output, input.frames() - quarter, input.frames())};
}

std::unique_ptr<HostedEffect> playing(double rate, float lower, float upper, float mode) {
    auto effect = makeEffect();
    effect->setSampleRate(static_cast<float>(rate));
    effect->setParameter(0, lower);
    effect->setParameter(1, upper);
    effect->setParameter(2, mode);
    effect->resume();
    return effect;
}

const char* modeName(float mode) {
    static const char* const names[] = {"low-pass", "high-pass", "band-pass", "band-stop"};
    return names[std::min(3, static_cast<int>(mode * 4.0f))];
}

// The largest ratio per mode, printed for the record of what the fades achieve.
struct Worst {
    std::map<std::string, std::pair<double, std::string>> byMode;
    void note(float mode, double ratio, const std::string& what) {
        auto& entry = byMode[modeName(mode)];
        if (ratio > entry.first) {
            entry = {ratio, what};
        }
    }
    ~Worst() {
        for (const auto& [mode, entry] : byMode) {
            std::printf("largest transient, %s: %+.2f dB over the settled levels (%s)\n", mode.c_str(),
                        20.0 * std::log10(entry.first), entry.second.c_str());
        }
    }
};

const double kRates[] = {44100.0, 48000.0, 96000.0};

}  // namespace

TEST(Transients, EveryParameterJumpBetweenTheEndsStaysWithinSixDecibels) {
    Worst worst;
    for (double rate : kRates) {
        for (float mode : kModes) {
            for (std::int32_t index : {0, 1}) {
                for (float other : {0.0f, 1.0f}) {
                    for (float from : {0.0f, 1.0f}) {
                        const float to = 1.0f - from;
                        float values[2] = {other, other};
                        values[index] = from;
                        auto effect = playing(rate, values[0], values[1], mode);
                        Levels levels = acrossChange(*effect, rate, [&] { effect->setParameter(index, to); });
                        const std::string what = "parameter " + std::to_string(index) + " " + std::to_string(from) +
                                                 " to " + std::to_string(to) + ", other " + std::to_string(other) +
                                                 " at " + std::to_string(static_cast<int>(rate)) + " Hz";
                        worst.note(mode, levels.ratio(), what);
                        EXPECT_LE(levels.ratio(), kAllowedRatio)
                            << modeName(mode) << ", " << what << ": before " << levels.before << ", peak "
                            << levels.transient << ", after " << levels.after;
                    }
                }
            }
        }
    }
}

TEST(Transients, ModeJumpsStayWithinSixDecibels) {
    Worst worst;
    for (double rate : kRates) {
        for (float lower : {0.0f, 1.0f}) {
            for (float upper : {0.0f, 1.0f}) {
                for (float from : kModes) {
                    for (float to : kModes) {
                        if (from == to) {
                            continue;
                        }
                        auto effect = playing(rate, lower, upper, from);
                        Levels levels = acrossChange(*effect, rate, [&] { effect->setParameter(2, to); });
                        EXPECT_LE(levels.ratio(), kAllowedRatio)
                            << modeName(from) << " to " << modeName(to) << " at " << rate << " Hz, lower " << lower
                            << ", upper " << upper << ": before " << levels.before << ", peak " << levels.transient
                            << ", after " << levels.after;
                        worst.note(to, levels.ratio(), std::string("from ") + modeName(from));
                    }
                }
            }
        }
    }
}

TEST(Transients, JumpsBetweenHostileValuesStayWithinSixDecibels) {
    const float hostile[] = {3.4e38f, -3.4e38f, std::numeric_limits<float>::quiet_NaN(), INFINITY, 0.0f, 1.0f};
    for (double rate : kRates) {
        for (float mode : kModes) {
            for (float from : hostile) {
                for (float to : hostile) {
                    if (std::memcmp(&from, &to, sizeof from) == 0) {
                        continue;
                    }
                    auto effect = playing(rate, from, from, mode);
                    Levels levels = acrossChange(*effect, rate, [&] {
                        effect->setParameter(0, to);
                        effect->setParameter(1, to);
                    });
                    EXPECT_LE(levels.ratio(), kAllowedRatio)
                        << modeName(mode) << " at " << rate << " Hz, cut-offs " << from << " to " << to << ": before "
                        << levels.before << ", peak " << levels.transient << ", after " << levels.after;
                }
            }
        }
    }
}

// A bank whose program 0 holds huge cut-offs, loaded while a 20 kHz low-pass plays; a program
// change between the extremes; a new sample rate while a 20 Hz filter rings.
TEST(Transients, ChunksProgramsAndSampleRatesStayWithinSixDecibels) {
    for (float mode : kModes) {
        auto effect = playing(44100.0, 1.0f, 1.0f, mode);
        std::vector<float> bank(16 * 9, 0.0f);
        for (std::size_t record = 0; record < 16; ++record) {
            bank[record * 9] = mode;
            bank[record * 9 + 1] = 3.4e38f;
            bank[record * 9 + 2] = 3.4e38f;
        }
        Levels chunk =
            acrossChange(*effect, 44100.0, [&] { EXPECT_EQ(effect->dispatch(effSetChunk, 0, 576, bank.data()), 576); });
        EXPECT_LE(chunk.ratio(), kAllowedRatio) << modeName(mode) << ": peak " << chunk.transient;

        auto programs = playing(48000.0, 1.0f, 1.0f, mode);
        programs->dispatch(effSetProgram, 0, 1);
        programs->setParameter(0, 0.0f);
        programs->setParameter(1, 0.0f);
        programs->setParameter(2, mode);
        programs->dispatch(effSetProgram, 0, 0);
        programs->setParameter(0, 1.0f);
        programs->setParameter(1, 1.0f);
        programs->setParameter(2, mode);
        Levels program = acrossChange(*programs, 48000.0, [&] { programs->dispatch(effSetProgram, 0, 1); });
        EXPECT_LE(program.ratio(), kAllowedRatio) << modeName(mode) << ": peak " << program.transient;

        auto rates = playing(96000.0, 0.0f, 0.0f, mode);
        Levels rate = acrossChange(*rates, 96000.0, [&] { rates->setSampleRate(44100.0f); });
        EXPECT_LE(rate.ratio(), kAllowedRatio) << modeName(mode) << ": peak " << rate.transient;
    }
}

TEST(Transients, AutomationAtEveryBlockStaysBounded) {
    std::mt19937 generator(5);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    auto effect = playing(44100.0, 0.5f, 0.5f, 0.0f);
    Stereo input = noise(64 * 2048, 3);
    Stereo output(input.frames());
    for (std::size_t start = 0; start < input.frames(); start += 64) {
        effect->setParameter(static_cast<std::int32_t>(start / 64 % 3), value(generator));
        float* in[2] = {input.left.data() + start, input.right.data() + start};
        float* out[2] = {output.left.data() + start, output.right.data() + start};
        effect->processReplacing(in, out, 64);
    }
    EXPECT_LT(peak(output, 0, output.frames()), 4.0f * kNoisePeak);
}

// Once a change has settled, the output is the new design's from silence at the change, as a fresh
// effect set up that way gives it; a change that arrives while nothing rings takes over at once.
TEST(Transients, TheNewDesignTakesOverExactly) {
    for (float mode : kModes) {
        auto effect = playing(44100.0, 0.9f, 0.95f, mode);
        auto fresh = playing(44100.0, 0.2f, 0.6f, mode == kModeLowPass ? kModeBandStop : kModeLowPass);
        Stereo first = noise(44100, 1);
        process(*effect, first, kBlock);
        effect->setParameter(0, 0.2f);
        effect->setParameter(1, 0.6f);
        effect->setParameter(2, mode == kModeLowPass ? kModeBandStop : kModeLowPass);
        Stereo second = noise(44100, 2);
        Stereo changed = process(*effect, second, kBlock);
        Stereo expected = process(*fresh, second, kBlock);
        for (std::size_t n = 4410; n < second.frames(); ++n) {  // 100 ms on: every fade has ended
            ASSERT_NEAR(changed.left[n], expected.left[n], 1e-5f) << modeName(mode) << ", frame " << n;
            ASSERT_NEAR(changed.right[n], expected.right[n], 1e-5f) << modeName(mode) << ", frame " << n;
        }

        // Silence until the histories have died out, then a change: no fade at all.
        Stereo silence(44100 * 2);
        process(*effect, silence, kBlock);
        effect->setParameter(0, 0.7f);
        effect->setParameter(2, mode);
        auto again = playing(44100.0, 0.7f, 0.6f, mode);
        Stereo third = noise(4096, 3);
        Stereo afterSilence = process(*effect, third, kBlock);
        Stereo reference = process(*again, third, kBlock);
        EXPECT_EQ(afterSilence.left, reference.left) << modeName(mode);
        EXPECT_EQ(afterSilence.right, reference.right) << modeName(mode);
    }
}

// An automated cut-off that the mode does not use changes nothing, not even for a moment.
TEST(Transients, AnUnusedCutOffMovesNothing) {
    for (float mode : {kModeLowPass, kModeHighPass}) {
        auto effect = playing(44100.0, 0.1f, 0.5f, mode);
        auto untouched = playing(44100.0, 0.1f, 0.5f, mode);
        Stereo input = noise(8192, 4);
        Stereo output(input.frames());
        Stereo expected = process(*untouched, input, kBlock);
        for (std::size_t start = 0; start < input.frames(); start += kBlock) {
            effect->setParameter(1, static_cast<float>(start) / static_cast<float>(input.frames()));
            float* in[2] = {input.left.data() + start, input.right.data() + start};
            float* out[2] = {output.left.data() + start, output.right.data() + start};
            effect->processReplacing(in, out, static_cast<std::int32_t>(kBlock));
        }
        EXPECT_EQ(output.left, expected.left) << modeName(mode);
    }
}
