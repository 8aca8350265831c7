// Block-by-block playback through an effect for the validator's checks.
#include "host/validate/playback.h"

namespace validate {

void playBlocks(HostedEffect& effect, Channels& inputs, Channels& outputs, long frames, int block,
                const std::function<void(Channels&, int)>& fill, const std::function<void(Channels&, int)>& take) {
    long done = 0;
    do {
        if (fill) {
            fill(inputs, block);
        }
        outputs.fillGarbage();
        effect.processReplacing(inputs.pointers(), outputs.pointers(), block);
        if (take) {
            take(outputs, block);
        }
        done += block;
    } while (block > 0 && done < frames);
}

Channels inputsFor(const AEffect& record, int block) {
    return Channels(record.numInputs, block);
}

Channels outputsFor(const AEffect& record, int block) {
    return Channels(record.numOutputs, block);
}

}  // namespace validate
