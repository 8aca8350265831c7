// Parsing and checking zelmor-host's command line.
#include "host/cli/options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "effect/parameter_table.h"

const char* const kUsage =
    "usage: zelmor-host info PLUGIN\n"
    "       zelmor-host process PLUGIN IN OUT [SETTINGS] [--block N]\n"
    "       zelmor-host response PLUGIN [SETTINGS] [--rate HZ] [--csv FILE]\n"
    "       zelmor-host generate OUT [--rate HZ] [--tones HZ,HZ,...] [--seconds S] [--channels 1|2]\n"
    "                                [--format float|pcm16]\n"
    "       zelmor-host levels IN [--tones HZ,HZ,...] [--seconds S]\n"
    "       zelmor-host edit PLUGIN [SETTINGS] [--screenshot FILE.png]\n"
    "       zelmor-host validate PLUGIN [--quick] [--seed N] [--worker-timeout S]   (any VST 2.x plug-in)\n"
    "       zelmor-host --version\n"
    "SETTINGS: [--program 1-16] [--mode low-pass|high-pass|band-pass|band-stop]\n"
    "          [--lower HZ] [--upper HZ]   (cut-offs from 20 to 20000 Hz)\n";

namespace {

constexpr double kMinimumCutoffHertz = kParameterTable[kLowerCutoff].minimum;
constexpr double kMaximumCutoffHertz = kParameterTable[kLowerCutoff].maximum;
constexpr double kMinimumRate = 8000.0;
constexpr double kMaximumRate = 384000.0;
constexpr int kMaximumBlock = 1 << 16;

double number(const std::string& option, const std::string& text, double low, double high) {
    errno = 0;
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end == nullptr || *end != '\0' || errno == ERANGE || !std::isfinite(value)) {
        throw UsageError(option + ": '" + text + "' is not a number");
    }
    if (value < low || value > high) {
        std::ostringstream message;
        message << option << ": " << text << " is out of range (" << low << " to " << high << ")";
        throw UsageError(message.str());
    }
    return value;
}

int integer(const std::string& option, const std::string& text, int low, int high) {
    double value = number(option, text, low, high);
    if (value != std::floor(value)) {
        throw UsageError(option + ": '" + text + "' is not a whole number");
    }
    return static_cast<int>(value);
}

std::vector<double> tones(const std::string& option, const std::string& text) {
    std::vector<double> result;
    std::stringstream list(text);
    std::string item;
    while (std::getline(list, item, ',')) {
        result.push_back(number(option, item, 1.0, kMaximumRate / 2));
    }
    if (result.empty()) {
        throw UsageError(option + ": no frequencies given");
    }
    return result;
}

}  // namespace

float modeValue(const std::string& name) {
    // The modes' names as options spell them, in the parameter's order.
    const char* const spelled[kModeCount] = {"low-pass", "high-pass", "band-pass", "band-stop"};
    for (std::int32_t mode = 0; mode < kModeCount; ++mode) {
        if (name == spelled[mode]) {
            return kModeValues[mode];
        }
    }
    throw UsageError("--mode: unknown mode '" + name + "' (low-pass, high-pass, band-pass or band-stop)");
}

Options parseOptions(int argc, char** argv) {
    Options options;
    if (argc < 2) {
        throw UsageError("no command given");
    }
    options.command = argv[1];
    for (int i = 2; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument.rfind("--", 0) != 0) {
            options.paths.push_back(argument);
            continue;
        }
        if (argument == "--quick") {
            options.quick = true;
            continue;
        }
        if (i + 1 >= argc) {
            throw UsageError(argument + ": missing value");
        }
        std::string value = argv[++i];
        if (argument == "--mode") {
            options.settings.mode = modeValue(value);
        } else if (argument == "--lower") {
            options.settings.lowerHertz = number(argument, value, kMinimumCutoffHertz, kMaximumCutoffHertz);
        } else if (argument == "--upper") {
            options.settings.upperHertz = number(argument, value, kMinimumCutoffHertz, kMaximumCutoffHertz);
        } else if (argument == "--program") {
            options.settings.program = integer(argument, value, 1, 16);
        } else if (argument == "--block") {
            options.blockFrames = integer(argument, value, 1, kMaximumBlock);
        } else if (argument == "--rate") {
            options.sampleRate = number(argument, value, kMinimumRate, kMaximumRate);
        } else if (argument == "--csv") {
            options.csvPath = value;
        } else if (argument == "--worker-timeout") {
            options.workerSeconds = number(argument, value, 1.0, 86400.0);
        } else if (argument == "--seed") {
            options.seed = value;
        } else if (argument == "--screenshot") {
            options.screenshotPath = value;
        } else if (argument == "--tones") {
            options.tones = tones(argument, value);
        } else if (argument == "--channels") {
            options.channels = integer(argument, value, 1, 2);
        } else if (argument == "--format") {
            if (value != "float" && value != "pcm16") {
                throw UsageError("--format: unknown format '" + value + "' (float or pcm16)");
            }
            options.pcm16 = value == "pcm16";
        } else if (argument == "--seconds") {
            options.toneSeconds = number(argument, value, 0.1, 60.0);
        } else {
            throw UsageError("unknown option '" + argument + "'");
        }
    }
    return options;
}
