// A set of filters as the audio thread runs it: a setup, the histories of its filters, one kernel a mode.
#pragma once

#include <cstdint>

#include "effect/filter_setup.h"
#include "effect/stereo_biquad.h"

// The histories of a set's low-pass and high-pass filter; a mode runs one of them or both.
struct FilterHistories {
    BiquadHistories lowPass;
    BiquadHistories highPass;
};

// One filter's four histories kept side by side: output left, output right, input left, input right.
using HistoryArrays = float[4][kBiquadHistoryEntries];
inline BiquadHistories historiesIn(HistoryArrays& arrays) {
    return {arrays[0], arrays[1], arrays[2], arrays[3]};
}

// Runs the kernel of mode (one filter, two in series or two averaged) with setup's coefficients over
// the histories. The one place where a mode picks its kernel. Audio thread: no allocation, no lock,
// no system call.
void runFilters(std::int32_t mode, const FilterSetup& setup, const FilterHistories& histories,
                const float* const* inputs, float* const* outputs, std::int32_t frames);

// A setup and the histories its filters run on, both kept by the owner: the bank is how the owner
// runs, clears and hands them on. It points into its owner, so it is never copied.
class FilterBank {
public:
    FilterBank(FilterSetup& setup, const FilterHistories& histories) : design(&setup), kept(histories) {}
    FilterBank(const FilterBank&) = delete;
    FilterBank& operator=(const FilterBank&) = delete;

    const FilterSetup& setup() const { return *design; }
    const FilterHistories& histories() const { return kept; }

    void run(const float* const* inputs, float* const* outputs, std::int32_t frames) {
        runFilters(design->filterMode, *design, kept, inputs, outputs, frames);
    }
    // True when nothing rings in the filters the setup's mode runs.
    bool silent() const;
    void clear();
    // Takes setup on, its filters starting from silence.
    void restart(const FilterSetup& setup);
    // Takes on other's setup and the state of its histories: this set goes on as other would have.
    void takeOver(const FilterBank& other);

private:
    FilterSetup* design;
    FilterHistories kept;
};
