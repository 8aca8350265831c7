// Audio buffers, noise and the tally of output samples for the validator's checks.
#include "host/validate/signals.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace validate {

bool isGarbage(float sample) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &sample, sizeof bits);
    return bits == kGarbageBits;
}

Channels::Channels(int count, int frames)
    : channelCount(count < 0 ? 0 : count),
      length(frames),
      data(static_cast<std::size_t>(count < 1 ? 1 : count)),
      table(data.size()) {
    for (std::size_t i = 0; i < data.size(); ++i) {
        // One spare sample, so that a block of zero frames still has a valid address.
        data[i].assign(static_cast<std::size_t>(frames) + 1, 0.0f);
        table[i] = data[i].data();
    }
}

void Channels::fillGarbage() {
    float garbage = 0.0f;
    std::memcpy(&garbage, &kGarbageBits, sizeof garbage);
    for (auto& samples : data) {
        std::fill(samples.begin(), samples.end(), garbage);
    }
}

void Channels::fillSilence() {
    for (auto& samples : data) {
        std::fill(samples.begin(), samples.end(), 0.0f);
    }
}

void Channels::fillNoise(Random& random, float peak) {
    for (auto& samples : data) {
        for (float& sample : samples) {
            sample = static_cast<float>(random.between(-peak, peak));
        }
    }
}

void Tally::add(const float* block, int frames) {
    for (int i = 0; i < frames; ++i) {
        float sample = block[i];
        ++samples;
        if (isGarbage(sample)) {
            ++unwritten;
        } else if (std::isnan(sample)) {
            ++nans;
        } else if (std::isinf(sample)) {
            ++infinities;
        } else {
            if (std::fpclassify(sample) == FP_SUBNORMAL) {
                ++subnormals;
            }
            peak = std::fmax(peak, std::fabs(static_cast<double>(sample)));
        }
    }
}

void Tally::add(Channels& channels, int frames) {
    for (int c = 0; c < channels.count(); ++c) {
        add(channels.channel(c), frames);
    }
}

}  // namespace validate
