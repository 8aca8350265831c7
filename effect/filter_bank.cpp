// Running a set of filters, and its silence, clearing and hand-over, for the steady state and the fade.
#include "effect/filter_bank.h"

#include <algorithm>

namespace {

// Each function covers entries 0 and 1 of a filter's four histories: all that a kernel reads and writes.
bool silentHistories(const BiquadHistories& h) {
    auto silent = [](const float* history) {
        return std::all_of(history, history + kBiquadHistoryEntries, [](float sample) { return sample == 0.0f; });
    };
    return silent(h.outputLeft) && silent(h.outputRight) && silent(h.inputLeft) && silent(h.inputRight);
}

void clearHistories(const BiquadHistories& h) {
    for (float* history : {h.outputLeft, h.outputRight, h.inputLeft, h.inputRight}) {
        std::fill(history, history + kBiquadHistoryEntries, 0.0f);
    }
}

void copyHistories(const BiquadHistories& from, const BiquadHistories& to) {
    auto copy = [](const float* source, float* target) { std::copy(source, source + kBiquadHistoryEntries, target); };
    copy(from.outputLeft, to.outputLeft);
    copy(from.outputRight, to.outputRight);
    copy(from.inputLeft, to.inputLeft);
    copy(from.inputRight, to.inputRight);
}

}  // namespace

void runFilters(std::int32_t mode, const FilterSetup& setup, const FilterHistories& histories,
                const float* const* inputs, float* const* outputs, std::int32_t frames) {
    const BiquadFilter lowPass{setup.lowPassA, setup.lowPassB, histories.lowPass};
    const BiquadFilter highPass{setup.highPassA, setup.highPassB, histories.highPass};
    switch (mode) {
        case kLowPass:
            runBiquad(inputs, outputs, frames, lowPass);
            break;
        case kHighPass:
            runBiquad(inputs, outputs, frames, highPass);
            break;
        case kBandPass:
            // The high-pass takes the low-pass output sample by sample, so its input histories hold
            // low-pass output, and no intermediate buffer is needed for any block length.
            runBiquadSeries(inputs, outputs, frames, lowPass, highPass);
            break;
        default:
            runBiquadAverage(inputs, outputs, frames, lowPass, highPass);
            break;
    }
}

bool FilterBank::silent() const {
    return (!usesLowPass(design->filterMode) || silentHistories(kept.lowPass)) &&
           (!usesHighPass(design->filterMode) || silentHistories(kept.highPass));
}

void FilterBank::clear() {
    clearHistories(kept.lowPass);
    clearHistories(kept.highPass);
}

void FilterBank::restart(const FilterSetup& setup) {
    *design = setup;
    clear();
}

void FilterBank::takeOver(const FilterBank& other) {
    *design = *other.design;
    copyHistories(other.kept.lowPass, kept.lowPass);
    copyHistories(other.kept.highPass, kept.highPass);
}
