// Two automation threads and an audio thread on one instance: no crash, finite sound, and the last write wins.
#include <atomic>
#include <cstring>
#include <thread>

#include "host/validate/playback.h"
#include "host/validate/validation.h"

namespace validate {
namespace {

Outcome threeThreads(Context& context) {
    auto effect = makeEffect(context, 48000.0, 64);
    const AEffect& record = *effect->record();
    if (record.numParams == 0) {
        return skipped("the plug-in has no parameters");
    }
    const int iterations = context.quick ? 20000 : 200000;
    std::atomic<int> writersLeft{2};
    // Each writer thread calls only setParameter; the audio thread only processReplacing.
    auto writer = [&](std::uint64_t seed) {
        Random random(seed);
        for (int i = 0; i < iterations; ++i) {
            effect->setParameter(random.below(record.numParams), static_cast<float>(random.uniform()));
        }
        writersLeft.fetch_sub(1);
    };
    Tally tally;
    long blocks = 0;
    std::thread audio([&]() {
        Channels inputs = inputsFor(record, 64);
        Channels outputs = outputsFor(record, 64);
        Random noise(context.seed ^ 0x617564696Full);
        while (writersLeft.load() > 0 || blocks < 100) {
            inputs.fillNoise(noise, kNoisePeak);
            outputs.fillGarbage();
            effect->processReplacing(inputs.pointers(), outputs.pointers(), 64);
            tally.add(outputs, 64);
            ++blocks;
        }
    });
    std::thread first(writer, context.seed ^ 0x6669727374ull);
    std::thread second(writer, context.seed ^ 0x7365636F6E64ull);
    first.join();
    second.join();
    audio.join();
    // One final write per parameter, read back as a quiet instance reads the same write back.
    auto quiet = makeEffect(context, 48000.0, 64);
    Random finals(context.seed ^ 0x66696E616Cull);
    int disagreements = 0;
    std::string firstProblem;
    for (std::int32_t p = 0; p < record.numParams; ++p) {
        const float value = static_cast<float>(finals.uniform());
        effect->setParameter(p, value);
        quiet->setParameter(p, value);
        const float read = effect->getParameter(p);
        const float expected = quiet->getParameter(p);
        if (std::memcmp(&read, &expected, sizeof read) != 0) {
            ++disagreements;
            if (firstProblem.empty()) {
                firstProblem = "parameter " + std::to_string(p) + " reads " + std::to_string(read) + ", expected " +
                               std::to_string(expected);
            }
        }
    }
    std::string figures = std::to_string(2 * iterations) + " writes from two threads during " + std::to_string(blocks) +
                          " blocks: " + std::to_string(tally.nans + tally.infinities) + " non-finite samples, " +
                          std::to_string(tally.unwritten) + " unwritten; " + std::to_string(disagreements) +
                          " parameters disagree after the last write";
    if (!tally.finite() || disagreements > 0) {
        return failed(figures + (firstProblem.empty() ? "" : "; " + firstProblem));
    }
    return passed(figures);
}

}  // namespace

std::vector<Check> threadChecks() {
    return {{"three-threads", threeThreads}};
}

}  // namespace validate
