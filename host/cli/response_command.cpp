// zelmor-host response: the magnitude response, measured by running sine waves through the plug-in.
#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

#include "host/cli/audio_file.h"
#include "host/cli/commands.h"
#include "host/cli/effect_session.h"
#include "host/frequency_scale.h"

namespace {

constexpr double kPointsPerOctave = 6.0;
constexpr double kLowestHertz = 10.0;
constexpr double kAmplitude = 0.5;
constexpr double kSettleSeconds = 0.5;
constexpr double kMeasureSeconds = 0.5;

// The gain at one frequency: the output's component at that frequency over the input's amplitude,
// after the filter has settled, over a whole number of periods.
double gainDb(HostedEffect& effect, double hertz, double rate, int blockFrames) {
    const double omega = kTwoPi * hertz / rate;
    const double periodFrames = rate / hertz;
    const auto settle = static_cast<std::size_t>(kSettleSeconds * rate + 10.0 * periodFrames);
    const auto measure = static_cast<std::size_t>(std::ceil(kMeasureSeconds * rate / periodFrames) * periodFrames);
    const std::size_t total = settle + measure;
    const bool nyquist = hertz * 2.0 >= rate;
    std::vector<float> left(static_cast<std::size_t>(blockFrames)), right(left.size()), outLeft(left.size()),
        outRight(left.size());
    double real = 0.0;
    double imaginary = 0.0;
    for (std::size_t start = 0; start < total; start += left.size()) {
        const std::size_t frames = std::min(left.size(), total - start);
        for (std::size_t i = 0; i < frames; ++i) {
            double phase = omega * static_cast<double>(start + i);
            left[i] = right[i] = static_cast<float>(kAmplitude * (nyquist ? std::cos(phase) : std::sin(phase)));
        }
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        effect.processReplacing(inputs, outputs, static_cast<std::int32_t>(frames));
        for (std::size_t i = 0; i < frames; ++i) {
            if (start + i >= settle) {
                double phase = omega * static_cast<double>(start + i);
                real += static_cast<double>(outLeft[i]) * std::cos(phase);
                imaginary += static_cast<double>(outLeft[i]) * std::sin(phase);
            }
        }
    }
    double magnitude = std::hypot(real, imaginary) * (nyquist ? 1.0 : 2.0) / static_cast<double>(measure);
    return 20.0 * std::log10(std::max(magnitude / kAmplitude, 1e-12));
}

}  // namespace

int runResponse(const Options& options) {
    if (options.paths.size() != 1) {
        throw UsageError("response needs exactly one argument: PLUGIN");
    }
    EffectSession session(options.paths[0]);
    const double rate = options.sampleRate;
    std::vector<double> frequencies;
    for (int k = 0;; ++k) {
        double hertz = kLowestHertz * std::pow(2.0, k / kPointsPerOctave);
        if (hertz >= rate / 2.0) {
            break;
        }
        frequencies.push_back(hertz);
    }
    frequencies.push_back(rate / 2.0);

    std::ostringstream csv;
    csv << "frequency_hz,gain_db\n";
    std::printf("%12s  %9s\n", "frequency", "gain");
    for (double hertz : frequencies) {
        checkInterrupted();
        auto effect = session.makeEffect(options.settings, rate, options.blockFrames);
        double gain = gainDb(*effect, hertz, rate, options.blockFrames);
        std::printf("%9.1f Hz  %6.2f dB\n", hertz, gain);
        csv << hertz << ',' << gain << '\n';
    }
    if (options.csvPath) {
        writeTextFile(*options.csvPath, csv.str());
    }
    return 0;
}
