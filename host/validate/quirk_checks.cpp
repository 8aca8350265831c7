// Hosts that do odd but legal things: toggling, processing early, changing settings while running.
#include "host/validate/playback.h"
#include "host/validate/validation.h"

namespace validate {
namespace {

struct Quirks {
    Random noise;
    std::vector<std::string> wrong;
    int blocks = 0;

    explicit Quirks(std::uint64_t seed) : noise(seed) {}

    // Plays blocks and notes the quirk when its output was not finite (or not written), if checked.
    void play(HostedEffect& effect, const char* quirk, int frames, int count, bool checked = true) {
        Channels inputs = inputsFor(*effect.record(), frames);
        Channels outputs = outputsFor(*effect.record(), frames);
        Tally tally;
        for (int b = 0; b < count; ++b) {
            inputs.fillNoise(noise, kNoisePeak);
            outputs.fillGarbage();
            effect.processReplacing(inputs.pointers(), outputs.pointers(), frames);
            tally.add(outputs, frames);
            ++blocks;
        }
        if (checked && !tally.finite()) {
            wrong.push_back(std::string(quirk) + ": " + std::to_string(tally.nans + tally.infinities) +
                            " non-finite, " + std::to_string(tally.unwritten) + " unwritten samples");
        }
    }
};

Outcome hostQuirks(Context& context) {
    Quirks quirks(context.seed ^ 0x7175697273ull);
    {
        std::string error;
        auto early = HostedEffect::create(*context.library, error);
        if (!early) {
            return failed(error);
        }
        quirks.play(*early, "processing before effOpen and resume", 256, 8);
        early->dispatch(effOpen);
        early->dispatch(effOpen);
        quirks.play(*early, "processing after effOpen twice", 256, 8);
    }
    {
        auto effect = makeEffect(context, 44100.0, 256);
        for (int b = 0; b < 50; ++b) {
            effect->suspend();
            effect->resume();
            quirks.play(*effect, "suspend and resume around every block", 256, 1);
        }
        effect->setSampleRate(96000.0f);
        quirks.play(*effect, "sample rate changed while running", 256, 20);
        effect->setSampleRate(22050.0f);
        quirks.play(*effect, "sample rate changed while running", 256, 20);
        const int sizes[] = {256, 1, 4096, 17, 64, 3000, 2};
        for (int size : sizes) {
            effect->setBlockSize(size);
            quirks.play(*effect, "block size changed between blocks", size, 3);
        }
        effect->dispatch(effEditClose);
        effect->dispatch(effEditClose);
        quirks.play(*effect, "effEditClose without effEditOpen", 256, 4);
        for (float rate : {0.0f, -44100.0f}) {
            effect->suspend();
            effect->setSampleRate(rate);
            effect->resume();
            // Any sound at all is acceptable at a rate that makes no sense; surviving it is not optional.
            quirks.play(*effect, "invalid sample rate", 256, 8, false);
        }
        effect->suspend();
        effect->setSampleRate(48000.0f);
        effect->resume();
        quirks.play(*effect, "a valid sample rate after 0 and a negative one", 256, 40);
        effect->suspend();
    }
    std::string figures = std::to_string(quirks.blocks) +
                          " blocks through suspend/resume per block, processing before resume, rate and block "
                          "size changes while running, close without open, rates 0 and negative";
    if (!quirks.wrong.empty()) {
        return failed(figures + "; " + quirks.wrong.front() +
                      (quirks.wrong.size() > 1 ? " (and " + std::to_string(quirks.wrong.size() - 1) + " more)" : ""));
    }
    return passed(figures + ": no crash, output finite");
}

}  // namespace

std::vector<Check> quirkChecks() {
    return {{"host-quirks", hostQuirks}};
}

}  // namespace validate
