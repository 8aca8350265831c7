// Two instances share nothing: changing one leaves the other's values, texts and sound as they were.
#include <cstring>

#include "host/validate/playback.h"
#include "host/validate/text_probe.h"
#include "host/validate/validation.h"

namespace validate {
namespace {

constexpr int kBlock = 256;
constexpr int kBlocksPlayed = 32;

struct Snapshot {
    std::vector<float> values;
    std::vector<std::string> texts;
};

Snapshot snapshot(HostedEffect& effect) {
    Snapshot taken;
    const AEffect& record = *effect.record();
    for (std::int32_t p = 0; p < record.numParams; ++p) {
        taken.values.push_back(effect.getParameter(p));
        taken.texts.push_back(askText(effect, effGetParamDisplay, p, 0, 256).text);
        taken.texts.push_back(askText(effect, effGetParamName, p, 0, 256).text);
    }
    taken.texts.push_back(askText(effect, effGetProgramName, 0, 0, 256).text);
    taken.texts.push_back(std::to_string(effect.dispatch(effGetProgram)));
    return taken;
}

// One block of the same noise through each effect, the changed one's parameters moving every block.
Outcome instancesIndependent(Context& context) {
    std::vector<float> reference;
    {
        auto alone = makeEffect(context, 44100.0, kBlock);
        Channels inputs = inputsFor(*alone->record(), kBlock);
        Channels outputs = outputsFor(*alone->record(), kBlock);
        Random noise(context.seed ^ 0x696E7374ull);
        for (int b = 0; b < kBlocksPlayed; ++b) {
            inputs.fillNoise(noise, kNoisePeak);
            alone->processReplacing(inputs.pointers(), outputs.pointers(), kBlock);
            for (int c = 0; c < outputs.count(); ++c) {
                reference.insert(reference.end(), outputs.channel(c), outputs.channel(c) + kBlock);
            }
        }
    }
    auto changed = makeEffect(context, 44100.0, kBlock);
    auto watched = makeEffect(context, 44100.0, kBlock);
    const AEffect& record = *watched->record();
    const Snapshot before = snapshot(*watched);
    Random settings(context.seed ^ 0x6368616E6765ull);
    Random noise(context.seed ^ 0x696E7374ull);
    Random otherNoise(context.seed ^ 0x6F74686572ull);
    Channels inputs = inputsFor(record, kBlock);
    Channels otherInputs = inputsFor(record, kBlock);
    Channels outputs = outputsFor(record, kBlock);
    Channels otherOutputs = outputsFor(record, kBlock);
    std::vector<float> heard;
    for (int b = 0; b < kBlocksPlayed; ++b) {
        if (record.numPrograms > 1) {
            changed->dispatch(effSetProgram, 0, settings.below(record.numPrograms));
        }
        for (std::int32_t p = 0; p < record.numParams; ++p) {
            changed->setParameter(p, static_cast<float>(settings.uniform()));
        }
        changed->dispatch(effSetProgramName, 0, 0, const_cast<char*>("Changed"));
        otherInputs.fillNoise(otherNoise, kNoisePeak);
        changed->processReplacing(otherInputs.pointers(), otherOutputs.pointers(), kBlock);
        inputs.fillNoise(noise, kNoisePeak);
        watched->processReplacing(inputs.pointers(), outputs.pointers(), kBlock);
        for (int c = 0; c < outputs.count(); ++c) {
            heard.insert(heard.end(), outputs.channel(c), outputs.channel(c) + kBlock);
        }
    }
    const Snapshot after = snapshot(*watched);
    std::string figures = std::to_string(record.numParams) + " parameters, " + std::to_string(before.texts.size()) +
                          " texts and " + std::to_string(heard.size()) + " samples compared";
    for (std::size_t i = 0; i < before.values.size(); ++i) {
        if (std::memcmp(&before.values[i], &after.values[i], sizeof(float)) != 0) {
            return failed(figures + "; parameter " + std::to_string(i) + " moved from " +
                          std::to_string(before.values[i]) + " to " + std::to_string(after.values[i]) +
                          " when the other instance changed");
        }
    }
    for (std::size_t i = 0; i < before.texts.size(); ++i) {
        if (before.texts[i] != after.texts[i]) {
            return failed(figures + "; text '" + before.texts[i] + "' became '" + after.texts[i] +
                          "' when the other instance changed");
        }
    }
    for (std::size_t i = 0; i < heard.size() && i < reference.size(); ++i) {
        if (std::memcmp(&heard[i], &reference[i], sizeof(float)) != 0) {
            return failed(figures + "; the output differs from an instance alone from sample " + std::to_string(i));
        }
    }
    return passed(figures + ": unchanged");
}

}  // namespace

std::vector<Check> instanceChecks() {
    return {{"instances-independent", instancesIndependent}};
}

}  // namespace validate
