// Running audio through an effect in blocks, with fresh garbage in the outputs before every block.
#pragma once

#include <functional>

#include "host/hosted_effect.h"
#include "host/validate/signals.h"

namespace validate {

// Before each block fill(inputs, frames) prepares the inputs; after it take(outputs, frames) reads
// the outputs. frames is rounded up to whole blocks; a block of 0 frames is one call.
void playBlocks(HostedEffect& effect, Channels& inputs, Channels& outputs, long frames, int block,
                const std::function<void(Channels&, int)>& fill, const std::function<void(Channels&, int)>& take);

// Channel buffers for the record's inputs and outputs, sized for one block.
Channels inputsFor(const AEffect& record, int block);
Channels outputsFor(const AEffect& record, int block);

// The noise peak the checks play, about -2 dBFS.
constexpr float kNoisePeak = 0.8f;
// The most gain any sane effect gives: 24 dB.
constexpr double kGainBound = 16.0;

}  // namespace validate
