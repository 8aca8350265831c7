// Audio across sample rates, block sizes and settings, and with the buffers aliased as hosts do.
#include <cmath>
#include <cstring>
#include <string>

#include "host/validate/playback.h"
#include "host/validate/validation.h"

namespace validate {
namespace {

const double kRates[] = {8000, 11025, 16000, 22050, 32000, 44100, 48000, 88200, 96000, 384000};
const int kBlocks[] = {0, 1, 2, 3, 7, 32, 64, 512, 4096, 8191, 100000};
const float kSettings[] = {0.0f, 0.25f, 0.5f, 0.75f};

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

Outcome matrix(Context& context) {
    const double noiseSeconds = context.quick ? 0.05 : 0.25;
    const double silenceSeconds = context.quick ? 0.2 : 0.5;
    Random random(context.seed ^ 0x6D61747269780000ull);
    Tally total;
    int runs = 0;
    int badRuns = 0;
    double worstGain = 0.0;
    std::string firstProblem;
    for (double rate : kRates) {
        auto effect = makeEffect(context, rate, 512);
        const AEffect& record = *effect->record();
        const std::int32_t last = record.numParams - 1;
        const float inputPeak = record.numInputs > 0 ? kNoisePeak : 1.0f;
        for (int block : kBlocks) {
            for (float setting : kSettings) {
                effect->suspend();
                effect->setBlockSize(block);
                if (last >= 0) {
                    effect->setParameter(last, setting);
                }
                effect->resume();
                Channels inputs = inputsFor(record, block);
                Channels outputs = outputsFor(record, block);
                Tally run;
                auto take = [&run](Channels& out, int frames) { run.add(out, frames); };
                playBlocks(
                    *effect, inputs, outputs, static_cast<long>(rate * noiseSeconds), block,
                    [&random](Channels& in, int) { in.fillNoise(random, kNoisePeak); }, take);
                playBlocks(
                    *effect, inputs, outputs, static_cast<long>(rate * silenceSeconds), block,
                    [](Channels& in, int) { in.fillSilence(); }, take);
                ++runs;
                const double gain = run.peak / static_cast<double>(inputPeak);
                worstGain = std::fmax(worstGain, gain);
                const bool bad = !run.finite() || run.subnormals > 0 || gain > kGainBound;
                if (bad) {
                    ++badRuns;
                    if (firstProblem.empty()) {
                        firstProblem = "first at " + number(rate) + " Hz, block " + std::to_string(block) +
                                       ", last parameter " + number(setting) + ": " + std::to_string(run.nans) +
                                       " NaN, " + std::to_string(run.infinities) + " inf, " +
                                       std::to_string(run.subnormals) + " subnormal, " + std::to_string(run.unwritten) +
                                       " unwritten, peak gain " + number(gain);
                    }
                }
                total.samples += run.samples;
                total.nans += run.nans;
                total.infinities += run.infinities;
                total.subnormals += run.subnormals;
                total.unwritten += run.unwritten;
            }
        }
    }
    std::string figures = std::to_string(runs) + " runs, " + std::to_string(total.samples) +
                          " samples: " + std::to_string(total.nans) + " NaN, " + std::to_string(total.infinities) +
                          " infinite, " + std::to_string(total.subnormals) + " subnormal, " +
                          std::to_string(total.unwritten) + " unwritten; largest peak gain " + number(worstGain) +
                          " (bound " + number(kGainBound) + ")";
    if (badRuns > 0) {
        return failed(figures + "; " + std::to_string(badRuns) + " runs wrong, " + firstProblem);
    }
    return passed(figures);
}

// Plays the same noise through a fresh effect with the given buffer layout and keeps the output.
enum class Layout { separate, inPlace, crossed };

std::vector<float> playLayout(Context& context, Layout layout, int& channelsOut) {
    constexpr int kBlock = 512;
    constexpr int kBlocksPlayed = 16;
    auto effect = makeEffect(context, 44100.0, kBlock);
    const AEffect& record = *effect->record();
    channelsOut = record.numOutputs;
    Random random(context.seed ^ 0x616C696173000000ull);
    Channels inputs(std::max(record.numInputs, record.numOutputs), kBlock);
    Channels outputs = outputsFor(record, kBlock);
    std::vector<float*> inputTable(inputs.pointers(), inputs.pointers() + std::max(1, inputs.count()));
    std::vector<float*> outputTable;
    for (int c = 0; c < std::max(1, record.numOutputs); ++c) {
        if (layout == Layout::separate) {
            outputTable.push_back(outputs.channel(c));
        } else if (layout == Layout::inPlace) {
            outputTable.push_back(inputs.channel(c));
        } else {
            // Output L is input R and the other way round.
            outputTable.push_back(inputs.channel(c ^ 1));
        }
    }
    std::vector<float> played;
    for (int b = 0; b < kBlocksPlayed; ++b) {
        inputs.fillNoise(random, kNoisePeak);
        if (layout == Layout::separate) {
            outputs.fillGarbage();
        }
        effect->processReplacing(inputTable.data(), outputTable.data(), kBlock);
        for (int c = 0; c < record.numOutputs; ++c) {
            played.insert(played.end(), outputTable[static_cast<std::size_t>(c)],
                          outputTable[static_cast<std::size_t>(c)] + kBlock);
        }
    }
    return played;
}

std::size_t firstDifference(const std::vector<float>& a, const std::vector<float>& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (std::memcmp(&a[i], &b[i], sizeof(float)) != 0) {
            return i;
        }
    }
    return a.size() == b.size() ? a.size() : std::min(a.size(), b.size());
}

Outcome aliasing(Context& context) {
    auto probe = makeEffect(context);
    const AEffect& record = *probe->record();
    if (record.numInputs != record.numOutputs || record.numOutputs == 0) {
        return skipped("inputs and outputs differ in number (" + std::to_string(record.numInputs) + " in, " +
                       std::to_string(record.numOutputs) + " out), so no buffer can serve both");
    }
    probe.reset();
    int channels = 0;
    const std::vector<float> separate = playLayout(context, Layout::separate, channels);
    const std::vector<float> inPlace = playLayout(context, Layout::inPlace, channels);
    std::string figures = std::to_string(separate.size()) + " samples compared";
    const std::size_t inPlaceAt = firstDifference(separate, inPlace);
    if (inPlaceAt != separate.size()) {
        return failed(figures + "; in place differs from separate buffers from sample " + std::to_string(inPlaceAt));
    }
    if (channels % 2 != 0) {
        return passed(figures + "; in place identical; crossed buffers need an even channel count, not tried");
    }
    const std::vector<float> crossed = playLayout(context, Layout::crossed, channels);
    const std::size_t crossedAt = firstDifference(separate, crossed);
    if (crossedAt != separate.size()) {
        return failed(figures + "; in place identical, but crossed buffers (output L on input R) differ from sample " +
                      std::to_string(crossedAt));
    }
    return passed(figures + "; in place and crossed buffers identical to separate ones");
}

}  // namespace

std::vector<Check> processingChecks() {
    return {{"matrix", matrix}, {"aliasing", aliasing}};
}

}  // namespace validate
