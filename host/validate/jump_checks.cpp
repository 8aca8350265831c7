// Parameter jumps while noise plays: the transient after a jump stays within 6 dB of the settled levels.
#include <cmath>
#include <limits>
#include <string>

#include "host/validate/playback.h"
#include "host/validate/validation.h"

namespace validate {
namespace {

constexpr int kBlock = 512;
constexpr double kLimitRatio = 2.0;  // +6 dB

struct Setting {
    std::int32_t index;
    float value;
};

// Peak of the output over a stretch of noise, and whether every sample was finite and written.
struct Stretch {
    double peak = 0.0;
    bool finite = true;
};

Stretch play(HostedEffect& effect, Channels& inputs, Channels& outputs, Random& noise, double seconds, double rate) {
    Tally tally;
    playBlocks(
        effect, inputs, outputs, static_cast<long>(seconds * rate), kBlock,
        [&noise](Channels& in, int) { in.fillNoise(noise, kNoisePeak); },
        [&tally](Channels& out, int frames) { tally.add(out, frames); });
    return {tally.peak, tally.finite()};
}

std::string describe(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

double decibels(double ratio) {
    return 20.0 * std::log10(ratio);
}

struct Worst {
    double ratio = 0.0;
    std::string where;
    int failures = 0;
    int jumps = 0;
    std::string firstFailure;

    void note(double measured, bool finite, const std::string& jump) {
        ++jumps;
        if (finite && measured > ratio) {
            ratio = measured;
            where = jump;
        }
        if (!finite || measured > kLimitRatio) {
            ++failures;
            if (firstFailure.empty()) {
                firstFailure = jump + (finite ? "" : " (non-finite output)");
            }
        }
    }
    Outcome outcome(const char* what) const {
        char line[512];
        if (where.empty()) {
            std::snprintf(line, sizeof line, "%d %s, none with finite output", jumps, what);
        } else {
            std::snprintf(line, sizeof line, "%d %s, largest transient %+.1f dB over the settled levels (%s)", jumps,
                          what, decibels(ratio), where.c_str());
        }
        if (failures > 0) {
            return failed(std::string(line) + "; " + std::to_string(failures) + " over +6 dB or non-finite, first " +
                          firstFailure);
        }
        return passed(line);
    }
};

// Every combination of the other parameters' values: 0 and 1, and the quarter steps for the
// last one (often a mode switch); only the defaults when that would be too many.
std::vector<std::vector<Setting>> surroundings(const AEffect& record, std::int32_t jumping) {
    std::vector<std::vector<Setting>> combinations{{}};
    for (std::int32_t q = 0; q < record.numParams; ++q) {
        if (q == jumping) {
            continue;
        }
        std::vector<float> values{0.0f, 1.0f};
        if (q == record.numParams - 1) {
            values = {0.0f, 0.25f, 0.5f, 0.75f};
        }
        std::vector<std::vector<Setting>> grown;
        for (const auto& combination : combinations) {
            for (float value : values) {
                auto next = combination;
                next.push_back({q, value});
                grown.push_back(next);
            }
        }
        combinations = grown;
        if (combinations.size() > 16) {
            return {{}};
        }
    }
    return combinations;
}

std::string settingText(const std::vector<Setting>& others) {
    std::string text;
    for (const Setting& s : others) {
        text += (text.empty() ? "" : ",") + std::to_string(s.index) + "=" + describe(s.value);
    }
    return text.empty() ? "defaults" : text;
}

std::vector<double> jumpRates(const Context& context) {
    if (context.quick) {
        return {48000.0};
    }
    return {44100.0, 48000.0, 96000.0};
}

Outcome parameterJumps(Context& context) {
    Worst worst;
    std::int32_t parameters = 0;
    for (double rate : jumpRates(context)) {
        parameters = makeEffect(context)->record()->numParams;
        for (std::int32_t p = 0; p < parameters; ++p) {
            auto probe = makeEffect(context);
            auto combinations = surroundings(*probe->record(), p);
            probe.reset();
            for (const auto& others : combinations) {
                for (int direction = 0; direction < 2; ++direction) {
                    const float from = direction == 0 ? 0.0f : 1.0f;
                    const float to = 1.0f - from;
                    auto effect = makeEffect(context, rate, kBlock);
                    for (const Setting& s : others) {
                        effect->setParameter(s.index, s.value);
                    }
                    effect->setParameter(p, from);
                    Channels inputs = inputsFor(*effect->record(), kBlock);
                    Channels outputs = outputsFor(*effect->record(), kBlock);
                    Random noise(context.seed ^ static_cast<std::uint64_t>(p * 131 + direction));
                    Stretch warm = play(*effect, inputs, outputs, noise, 1.0, rate);
                    Stretch before = play(*effect, inputs, outputs, noise, 0.5, rate);
                    effect->setParameter(p, to);
                    Stretch transient = play(*effect, inputs, outputs, noise, 0.5, rate);
                    Stretch between = play(*effect, inputs, outputs, noise, 1.0, rate);
                    Stretch after = play(*effect, inputs, outputs, noise, 0.5, rate);
                    const bool finite =
                        warm.finite && before.finite && transient.finite && between.finite && after.finite;
                    const double settled = std::fmax(std::fmax(before.peak, after.peak), 1e-9);
                    worst.note(transient.peak / settled, finite,
                               "parameter " + std::to_string(p) + " " + describe(from) + " to " + describe(to) +
                                   " at " + describe(static_cast<float>(rate)) + " Hz, others " + settingText(others));
                }
            }
        }
    }
    if (parameters == 0) {
        return skipped("the plug-in has no parameters");
    }
    return worst.outcome("jumps");
}

Outcome hostileJumps(Context& context) {
    const float kHostile[] = {3.4e38f,
                              -3.4e38f,
                              1e30f,
                              -1.0f,
                              2.0f,
                              std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::infinity()};
    Worst worst;
    std::int32_t parameters = 0;
    for (double rate : jumpRates(context)) {
        parameters = makeEffect(context)->record()->numParams;
        for (std::int32_t p = 0; p < parameters; ++p) {
            for (float hostile : kHostile) {
                for (float base : {0.0f, 1.0f}) {
                    auto effect = makeEffect(context, rate, kBlock);
                    effect->setParameter(p, base);
                    Channels inputs = inputsFor(*effect->record(), kBlock);
                    Channels outputs = outputsFor(*effect->record(), kBlock);
                    Random noise(context.seed ^ static_cast<std::uint64_t>(p * 7919 + 3));
                    Stretch warm = play(*effect, inputs, outputs, noise, 1.0, rate);
                    Stretch before = play(*effect, inputs, outputs, noise, 0.5, rate);
                    effect->setParameter(p, hostile);
                    Stretch during = play(*effect, inputs, outputs, noise, 0.5, rate);
                    Stretch settledThere = play(*effect, inputs, outputs, noise, 1.0, rate);
                    effect->setParameter(p, base);
                    Stretch transient = play(*effect, inputs, outputs, noise, 0.5, rate);
                    Stretch between = play(*effect, inputs, outputs, noise, 1.0, rate);
                    Stretch after = play(*effect, inputs, outputs, noise, 0.5, rate);
                    const bool finite = warm.finite && before.finite && during.finite && settledThere.finite &&
                                        transient.finite && between.finite && after.finite &&
                                        settledThere.peak <= kGainBound * static_cast<double>(kNoisePeak);
                    // Each jump against the settled levels on either side of it.
                    const double there = std::fmax(std::fmax(before.peak, settledThere.peak), 1e-9);
                    const double back = std::fmax(std::fmax(settledThere.peak, after.peak), 1e-9);
                    worst.note(std::fmax(during.peak / there, transient.peak / back), finite,
                               "parameter " + std::to_string(p) + " " + describe(base) + " to " + describe(hostile) +
                                   " and back at " + describe(static_cast<float>(rate)) + " Hz");
                }
            }
        }
    }
    if (parameters == 0) {
        return skipped("the plug-in has no parameters");
    }
    return worst.outcome("jumps to hostile values and back");
}

}  // namespace

std::vector<Check> jumpChecks() {
    return {{"parameter-jumps", parameterJumps}, {"hostile-jumps", hostileJumps}};
}

}  // namespace validate
