// zelmor-host generate and levels: a stepped test tone, and the level of each of its steps.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "host/cli/audio_file.h"
#include "host/cli/commands.h"
#include "host/frequency_scale.h"

namespace {

constexpr double kAmplitude = 0.5;
constexpr double kFadeSeconds = 0.01;

std::string formatName(int format) {
    SF_FORMAT_INFO major{};
    major.format = format & SF_FORMAT_TYPEMASK;
    sf_command(nullptr, SFC_GET_FORMAT_INFO, &major, sizeof major);
    std::string name = major.name != nullptr ? major.name : "unknown";
    name = name.substr(0, name.find(' '));
    switch (format & SF_FORMAT_SUBMASK) {
        case SF_FORMAT_PCM_16:
            return name + " 16-bit";
        case SF_FORMAT_PCM_24:
            return name + " 24-bit";
        case SF_FORMAT_FLOAT:
            return name + " float";
        default:
            return name;
    }
}

}  // namespace

int runGenerate(const Options& options) {
    if (options.paths.size() != 1) {
        throw UsageError("generate needs exactly one argument: OUT");
    }
    const double rate = options.sampleRate;
    // A tone at or above half the rate folds back as another frequency: the file would not hold it.
    for (double hertz : options.tones) {
        if (hertz >= rate / 2) {
            std::ostringstream message;
            message << "--tones: " << hertz << " Hz is at or above half the sample rate (" << rate / 2
                    << " Hz at --rate " << rate << ")";
            throw UsageError(message.str());
        }
    }
    const auto stepFrames = static_cast<std::size_t>(options.toneSeconds * rate);
    const auto fadeFrames = static_cast<std::size_t>(kFadeSeconds * rate);
    const auto channels = static_cast<std::size_t>(options.channels);
    const int format = SF_FORMAT_WAV | (options.pcm16 ? SF_FORMAT_PCM_16 : SF_FORMAT_FLOAT);
    AudioWriter writer(options.paths[0], format, options.channels, static_cast<int>(rate));
    std::vector<float> interleaved(stepFrames * channels);
    for (double hertz : options.tones) {
        for (std::size_t n = 0; n < stepFrames; ++n) {
            double edge = static_cast<double>(std::min(n, stepFrames - 1 - n));
            double fade = std::min(1.0, edge / static_cast<double>(fadeFrames));
            auto value = static_cast<float>(kAmplitude * fade * std::sin(kTwoPi * hertz * double(n) / rate));
            std::fill_n(interleaved.begin() + static_cast<std::ptrdiff_t>(n * channels), channels, value);
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
    std::printf("%d channel%s, %d Hz, %s\n", reader.channels(), reader.channels() == 1 ? "" : "s", reader.sampleRate(),
                formatName(reader.format()).c_str());
    const auto stepFrames = static_cast<std::int64_t>(options.toneSeconds * reader.sampleRate());
    // Known before reading: each step's buffer is sized from the rate the header claims.
    const auto steps = static_cast<std::int64_t>(options.tones.size());
    if (stepFrames * steps > reader.frames()) {
        throw std::runtime_error("'" + options.paths[0] + "' holds " + std::to_string(reader.frames()) +
                                 " frames, fewer than " + std::to_string(steps) + " tones of " +
                                 std::to_string(stepFrames) + " frames");
    }
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
