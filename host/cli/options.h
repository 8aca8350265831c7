// Command-line options of zelmor-host: the filter settings and the per-command values, with range checks.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A problem with what the user asked for; its text is the one line shown on stderr.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The user interrupted a long command; what it was writing is removed.
struct Interrupted : std::runtime_error {
    Interrupted() : std::runtime_error("interrupted") {}
};

// Throws Interrupted once an interrupt or termination signal has arrived.
void checkInterrupted();

struct FilterSettings {
    std::optional<int> program;        // 1 to 16
    std::optional<float> mode;         // normalised mode value
    std::optional<double> lowerHertz;  // 20 to 20000
    std::optional<double> upperHertz;  // 20 to 20000
};

struct Options {
    std::string command;
    std::vector<std::string> paths;  // positional arguments after the command
    FilterSettings settings;
    int blockFrames = 512;
    double sampleRate = 48000.0;
    std::optional<std::string> csvPath;
    std::optional<std::string> screenshotPath;  // edit: the PNG file for the editor's first picture
    std::vector<double> tones = {100.0, 1000.0, 5000.0, 15000.0};
    double toneSeconds = 1.0;
    int channels = 2;
    bool pcm16 = false;
    bool quick = false;               // validate: the short run
    std::optional<std::string> seed;  // validate: seeds every random choice
    double workerSeconds = 60.0;      // validate: how long one worker process may run
};

// Throws UsageError with a clear reason for anything unknown, malformed or out of range.
Options parseOptions(int argc, char** argv);

// The normalised mode value of a mode name ("low-pass", "high-pass", "band-pass", "band-stop").
float modeValue(const std::string& name);

extern const char* const kUsage;
