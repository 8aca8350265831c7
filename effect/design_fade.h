// The cross-fade from the filters a block was running to a new design, started from silent histories.
#pragma once

#include <cstdint>

#include "effect/filter_bank.h"
#include "effect/filter_setup.h"

// A filter's last samples, carried over a change, excite the new design's poles: with the poles
// near the unit circle, by 40 dB and more. The new design therefore starts from silence and is faded
// in while the old one keeps running on its own histories; the output becomes the new design's alone
// once the fade ends.
//
// Threads: the audio thread only. Everything it needs is inside the object: nothing is allocated.
class DesignFade {
public:
    // The longest stretch processed in one go: the incoming design's output waits in a buffer.
    static constexpr std::int32_t kSliceFrames = 256;

    bool active() const { return length > 0; }
    std::int32_t remaining() const { return length - position; }
    // The incoming design's filters: what takes over when the fade ends.
    const FilterBank& incoming() const { return filters; }

    // Starts fading towards setup, whose filters begin with silent histories.
    void start(const FilterSetup& incomingSetup);
    // Ends the fade where it is; the caller carries on with incoming() alone.
    void stop() {
        length = 0;
        position = 0;
    }

    // Runs the incoming design over frames (at most kSliceFrames and remaining()) of the inputs.
    // Call it before the outgoing design overwrites inputs that are also the outputs.
    void runIncoming(const float* const* inputs, std::int32_t frames);

    // Mixes the incoming design's frames into outputs, which hold the outgoing design's, and
    // advances the fade. Returns true when the fade has just ended.
    bool mixInto(float* const* outputs, std::int32_t frames);

private:
    FilterSetup setup;
    HistoryArrays lowPassHistories{};
    HistoryArrays highPassHistories{};
    FilterBank filters{setup, {historiesIn(lowPassHistories), historiesIn(highPassHistories)}};
    float buffered[2][kSliceFrames]{};
    std::int32_t position = 0;
    std::int32_t length = 0;
};
