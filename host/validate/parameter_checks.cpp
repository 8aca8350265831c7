// Random parameter traffic, hostile values included: in-range values read back in range, texts fit, audio stays finite.
#include <cmath>
#include <limits>

#include "host/validate/playback.h"
#include "host/validate/text_probe.h"
#include "host/validate/validation.h"

namespace validate {
namespace {

float hostileOrNot(Random& random, bool& inRange) {
    static const float kHostile[] = {std::numeric_limits<float>::quiet_NaN(),
                                     std::numeric_limits<float>::infinity(),
                                     -std::numeric_limits<float>::infinity(),
                                     3.4e38f,
                                     -3.4e38f,
                                     1e30f,
                                     -1.0f,
                                     2.0f,
                                     -1e-40f,
                                     1.0000001f};
    inRange = random.uniform() < 0.7;
    if (inRange) {
        return static_cast<float>(random.uniform());
    }
    return kHostile[random.below(static_cast<int>(sizeof kHostile / sizeof kHostile[0]))];
}

Outcome parameterFuzz(Context& context) {
    auto effect = makeEffect(context, 44100.0, 512);
    const AEffect& record = *effect->record();
    if (record.numParams == 0) {
        return skipped("the plug-in has no parameters");
    }
    const int sequences = context.quick ? 1000 : 10000;
    Random random(context.seed ^ 0x66757A7Aull);
    int hostile = 0;
    int badReads = 0;
    int textMisfits = 0;
    std::string firstProblem;
    for (int i = 0; i < sequences; ++i) {
        const std::int32_t index = random.below(record.numParams);
        bool inRange = true;
        const float value = hostileOrNot(random, inRange);
        effect->setParameter(index, value);
        const float read = effect->getParameter(index);
        if (!inRange) {
            ++hostile;
        } else if (!std::isfinite(read) || read < 0.0f || read > 1.0f) {
            ++badReads;
            if (firstProblem.empty()) {
                firstProblem = "getParameter(" + std::to_string(index) + ") read " + std::to_string(read) +
                               " after setting " + std::to_string(value);
            }
        }
        TextAnswer display = askText(*effect, effGetParamDisplay, index, 0, kHostParameterTextBuffer);
        if (!display.fits()) {
            ++textMisfits;
            if (firstProblem.empty()) {
                firstProblem = describeMisfit("effGetParamDisplay", index, display, kHostParameterTextBuffer) +
                               " after setting " + std::to_string(value);
            }
        }
    }
    // In-range values everywhere again: the sound must come back.
    for (std::int32_t p = 0; p < record.numParams; ++p) {
        effect->setParameter(p, static_cast<float>(random.uniform()));
    }
    Channels inputs = inputsFor(record, 512);
    Channels outputs = outputsFor(record, 512);
    Tally tally;
    playBlocks(
        *effect, inputs, outputs, 44100, 512, [&random](Channels& in, int) { in.fillNoise(random, kNoisePeak); },
        [&tally](Channels& out, int frames) { tally.add(out, frames); });
    std::string figures = std::to_string(sequences) + " set/get pairs, " + std::to_string(hostile) +
                          " with hostile values; " + std::to_string(badReads) + " reads out of [0,1], " +
                          std::to_string(textMisfits) + " displays too long; afterwards " +
                          std::to_string(tally.nans + tally.infinities) + " non-finite of " +
                          std::to_string(tally.samples) + " samples";
    if (badReads > 0 || textMisfits > 0 || !tally.finite()) {
        return failed(figures + (firstProblem.empty() ? "" : "; first: " + firstProblem));
    }
    return passed(figures);
}

}  // namespace

std::vector<Check> parameterChecks() {
    return {{"parameter-fuzz", parameterFuzz}};
}

}  // namespace validate
