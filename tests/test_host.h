// Shared test helpers: the built plug-in loaded once, effects made through its entry point, buffers.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/frequency_scale.h"
#include "host/hosted_effect.h"

namespace testhost {

const PluginLibrary& plugin();

// A fresh effect made through the library's entry point, as a host makes one.
std::unique_ptr<HostedEffect> makeEffect(HostAnswer answer = defaultHostAnswer);

// Two channels of samples with the channel-pointer arrays that the record's process entries take.
struct Stereo {
    explicit Stereo(std::size_t frames, float fill = 0.0f) : left(frames, fill), right(frames, fill) {}
    float** channels() {
        pointers[0] = left.data();
        pointers[1] = right.data();
        return pointers;
    }
    std::size_t frames() const { return left.size(); }
    std::vector<float> left;
    std::vector<float> right;

private:
    float* pointers[2] = {nullptr, nullptr};
};

// Runs input through the effect in blocks of at most blockFrames; returns the output.
Stereo process(HostedEffect& effect, Stereo& input, std::size_t blockFrames);

// A sine of the given frequency and amplitude on both channels.
Stereo sine(double hertz, double sampleRate, std::size_t frames, double amplitude = 0.5);

// Root-mean-square level of samples [from, end) in dB relative to full-scale RMS of a unit sine.
double levelDb(const std::vector<float>& samples, std::size_t from);

constexpr float kModeLowPass = 0.0f;
constexpr float kModeHighPass = 0.25f;
constexpr float kModeBandPass = 0.5f;
constexpr float kModeBandStop = 0.75f;
constexpr float kModes[] = {kModeLowPass, kModeHighPass, kModeBandPass, kModeBandStop};

}  // namespace testhost
