// Suspend and resume forget what played before: an instance resumed after loud noise renders what a
// fresh one renders, bit for bit. Hosts rely on it to render a project the same way twice.
#include <cmath>
#include <cstring>

#include "host/validate/playback.h"
#include "host/validate/validation.h"

namespace validate {
namespace {

constexpr int kBlock = 512;
constexpr float kLoudPeak = 1.0f;

Outcome resume(Context& context) {
    auto played = makeEffect(context, 48000.0, kBlock);
    const AEffect& record = *played->record();
    Channels inputs = inputsFor(record, kBlock);
    Channels outputs = outputsFor(record, kBlock);
    Random loud(context.seed ^ 0x6C6F7564ull);
    const int loudBlocks = context.quick ? 20 : 200;
    for (int b = 0; b < loudBlocks; ++b) {
        inputs.fillNoise(loud, kLoudPeak);
        played->processReplacing(inputs.pointers(), outputs.pointers(), kBlock);
    }
    played->suspend();
    played->resume();
    auto fresh = makeEffect(context, 48000.0, kBlock);
    Channels freshOutputs = outputsFor(record, kBlock);
    // Silence first (where any ringing shows alone), then the same noise into both.
    Random sameA(context.seed ^ 0x73616D65ull);
    Random sameB(context.seed ^ 0x73616D65ull);
    Channels freshInputs = inputsFor(record, kBlock);
    const int blocks = context.quick ? 20 : 100;
    long differing = 0;
    long firstFrame = -1;
    double largest = 0.0;
    for (int b = 0; b < blocks; ++b) {
        if (b < blocks / 2) {
            inputs.fillSilence();
            freshInputs.fillSilence();
        } else {
            inputs.fillNoise(sameA, kNoisePeak);
            freshInputs.fillNoise(sameB, kNoisePeak);
        }
        outputs.fillGarbage();
        freshOutputs.fillGarbage();
        played->processReplacing(inputs.pointers(), outputs.pointers(), kBlock);
        fresh->processReplacing(freshInputs.pointers(), freshOutputs.pointers(), kBlock);
        for (int c = 0; c < outputs.count(); ++c) {
            for (int n = 0; n < kBlock; ++n) {
                const float a = outputs.channel(c)[n];
                const float f = freshOutputs.channel(c)[n];
                if (std::memcmp(&a, &f, sizeof a) != 0) {
                    ++differing;
                    if (firstFrame < 0) {
                        firstFrame = static_cast<long>(b) * kBlock + n;
                    }
                    const double difference = std::fabs(static_cast<double>(a) - static_cast<double>(f));
                    if (std::isfinite(difference) && difference > largest) {
                        largest = difference;
                    }
                }
            }
        }
    }
    const long samples = static_cast<long>(blocks) * kBlock * outputs.count();
    std::string figures = std::to_string(loudBlocks * kBlock) + " frames of loud noise, suspend, resume, then " +
                          std::to_string(blocks * kBlock) +
                          " frames of silence and noise beside a fresh instance: " + std::to_string(differing) +
                          " of " + std::to_string(samples) + " samples differ";
    if (differing > 0) {
        char detail[96];
        std::snprintf(detail, sizeof detail, " (first at frame %ld, largest difference %.1f dBFS)", firstFrame,
                      20.0 * std::log10(std::fmax(largest, 1e-30)));
        return warned(figures + detail + "; the instance still rings with what played before its resume");
    }
    return passed(figures);
}

}  // namespace

std::vector<Check> resumeChecks() {
    return {{"resume", resume}};
}

}  // namespace validate
