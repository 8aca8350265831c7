// zelmor-host generate and levels: a stepped test tone, and the level of each of its steps.
#include <cmath>
#include <cstdio>
#include <vector>

#include "host/cli/audio_file.h"
#include "host/cli/commands.h"

namespace {

constexpr double kAmplitude = 0.5;
constexpr double kFadeSeconds = 0.01;

}  // namespace

int runGenerate(const Options& options) {
    if (options.paths.size() != 1) {
        throw UsageError("generate needs exactly one argument: OUT");
    }
    const double rate = options.sampleRate;
    const auto stepFrames = static_cast<std::size_t>(options.toneSeconds * rate);
    const auto fadeFrames = static_cast<std::size_t>(kFadeSeconds * rate);
    AudioWriter writer(options.paths[0], SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, static_cast<int>(rate));
    std::vector<float> interleaved(stepFrames * 2);
    for (double hertz : options.tones) {
        for (std::size_t n = 0; n < stepFrames; ++n) {
            double edge = static_cast<double>(std::min(n, stepFrames - 1 - n));
            double fade = std::min(1.0, edge / static_cast<double>(fadeFrames));
            auto value = static_cast<float>(kAmplitude * fade * std::sin(2.0 * M_PI * hertz * double(n) / rate));
            interleaved[2 * n] = value;
            interleaved[2 * n + 1] = value;
        }
        writer.write(interleaved, static_cast<std::int64_t>(stepFrames));
    }
    writer.commit();
    return 0;
}

int runLevels(const Options& options) {
    if (options.paths.size() != 1) {
        throw UsageError("levels needs exactly one argument: IN");
    }
    AudioReader reader(options.paths[0]);
    const auto stepFrames = static_cast<std::int64_t>(options.toneSeconds * reader.sampleRate());
    std::vector<float> step;
    for (double hertz : options.tones) {
        std::int64_t got = reader.read(step, stepFrames);
        if (got < stepFrames) {
            throw std::runtime_error("'" + options.paths[0] + "' ends before the tone at " +
                                     std::to_string(static_cast<int>(hertz)) + " Hz");
        }
        // The middle half of each step: past the fade and the filter's settling.
        double sum = 0.0;
        const auto channels = static_cast<std::size_t>(reader.channels());
        const auto from = static_cast<std::size_t>(stepFrames / 4);
        const auto to = static_cast<std::size_t>(stepFrames * 3 / 4);
        for (std::size_t n = from; n < to; ++n) {
            sum += static_cast<double>(step[n * channels]) * static_cast<double>(step[n * channels]);
        }
        double rms = std::sqrt(sum / static_cast<double>(to - from));
        std::printf("%8.0f Hz  %7.2f dBFS\n", hertz, 20.0 * std::log10(std::max(rms * std::sqrt(2.0), 1e-12)));
    }
    return 0;
}
