// Audio for the checks: channel buffers pre-filled with garbage, noise, and what came out.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace validate {

// Deterministic from the seed on every platform, unlike the standard distributions.
class Random {
public:
    explicit Random(std::uint64_t seed) : engine(seed) {}
    double uniform() { return static_cast<double>(engine() >> 11) * (1.0 / 9007199254740992.0); }  // [0, 1)
    double between(double low, double high) { return low + (high - low) * uniform(); }
    int below(int count) { return static_cast<int>(uniform() * count); }
    std::uint8_t byte() { return static_cast<std::uint8_t>(engine() >> 56); }

private:
    std::mt19937_64 engine;
};

// A bit pattern no plug-in computes: a quiet NaN with a marker payload, left where nothing was written.
constexpr std::uint32_t kGarbageBits = 0x7FC0DEADu;
bool isGarbage(float sample);

// Channel buffers with the pointer array a host passes; at least one channel so pointers are valid.
class Channels {
public:
    Channels(int count, int frames);
    float** pointers() { return table.data(); }
    float* channel(int index) { return data[static_cast<std::size_t>(index)].data(); }
    int count() const { return channelCount; }  // as asked, possibly 0
    int frames() const { return length; }
    void fillGarbage();
    void fillSilence();
    // Independent white noise per channel, uniform within +-peak.
    void fillNoise(Random& random, float peak);

private:
    int channelCount;
    int length;
    std::vector<std::vector<float>> data;
    std::vector<float*> table;
};

// What a stretch of output held.
struct Tally {
    std::uint64_t samples = 0;
    std::uint64_t nans = 0;
    std::uint64_t infinities = 0;
    std::uint64_t subnormals = 0;
    std::uint64_t unwritten = 0;
    double peak = 0.0;  // of the finite samples

    void add(const float* samples, int frames);
    void add(Channels& channels, int frames);
    bool finite() const { return nans == 0 && infinities == 0 && unwritten == 0; }
};

}  // namespace validate
