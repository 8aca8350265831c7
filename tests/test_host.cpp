// Loads the built plug-in library once per test process and offers helpers for driving it.
#include "tests/test_host.h"

#include <algorithm>
#include <cstdlib>

namespace testhost {

const PluginLibrary& plugin() {
    static std::unique_ptr<PluginLibrary> library = [] {
        std::string error;
        auto loaded = PluginLibrary::open(ZELMOR_PLUGIN_PATH, error);
        if (!loaded) {
            ADD_FAILURE() << error;
            std::abort();
        }
        return loaded;
    }();
    return *library;
}

std::unique_ptr<HostedEffect> makeEffect(HostAnswer answer) {
    std::string error;
    auto effect = HostedEffect::create(plugin(), error, std::move(answer));
    EXPECT_TRUE(effect) << error;
    return effect;
}

Stereo process(HostedEffect& effect, Stereo& input, std::size_t blockFrames) {
    Stereo output(input.frames());
    for (std::size_t start = 0; start < input.frames(); start += blockFrames) {
        std::size_t frames = std::min(blockFrames, input.frames() - start);
        float* in[2] = {input.left.data() + start, input.right.data() + start};
        float* out[2] = {output.left.data() + start, output.right.data() + start};
        effect.processReplacing(in, out, static_cast<std::int32_t>(frames));
    }
    return output;
}

Stereo sine(double hertz, double sampleRate, std::size_t frames, double amplitude) {
    Stereo signal(frames);
    const double step = kTwoPi * hertz / sampleRate;
    for (std::size_t n = 0; n < frames; ++n) {
        auto value = static_cast<float>(amplitude * std::sin(step * static_cast<double>(n)));
        signal.left[n] = value;
        signal.right[n] = value;
    }
    return signal;
}

double levelDb(const std::vector<float>& samples, std::size_t from) {
    double sum = 0.0;
    for (std::size_t n = from; n < samples.size(); ++n) {
        sum += static_cast<double>(samples[n]) * static_cast<double>(samples[n]);
    }
    double rms = std::sqrt(sum / static_cast<double>(samples.size() - from));
    return 20.0 * std::log10(std::max(rms, 1e-30) * std::sqrt(2.0));
}

}  // namespace testhost
