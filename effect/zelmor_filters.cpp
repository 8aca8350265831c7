// Filter redesign after parameter and sample-rate changes, and the audio processing of each block.
#include "effect/zelmor.h"

#include "effect/stereo_biquad.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {
constexpr float kRipplePercent = 0.5f;
constexpr std::int32_t kPoles = 2;

// A change cross-fades over at least kShortestFade and at most kLongestFade seconds, and over three
// time constants of the slower new filter in between: a filter started from silence has then
// reached 95 % of its settled output.
constexpr double kShortestFade = 0.005;
constexpr double kLongestFade = 0.05;
constexpr double kSettlingTimeConstants = 3.0;
constexpr std::int32_t kFewestFadeFrames = 16;
constexpr std::int32_t kMostFadeFrames = 1 << 16;

// Frames for the envelope of a two-pole recursion to fall by e: its poles have radius sqrt(-b2).
double timeConstantFrames(const Coefficients& b) {
    const double radius = std::sqrt(std::max(0.0, -static_cast<double>(b[2])));
    return radius < 1.0 ? 1.0 / (1.0 - radius) : kMostFadeFrames;
}

std::int32_t fadeFramesFor(const FilterSetup& setup, float sampleRate) {
    double settling = 0.0;
    if (usesLowPass(setup.filterMode)) {
        settling = std::max(settling, kSettlingTimeConstants * timeConstantFrames(setup.lowPassB));
    }
    if (usesHighPass(setup.filterMode)) {
        settling = std::max(settling, kSettlingTimeConstants * timeConstantFrames(setup.highPassB));
    }
    const double rate = static_cast<double>(sampleRate);
    double frames = std::min(std::max(settling, kShortestFade * rate), kLongestFade * rate);
    // Absurd sample rates from a host still give a fade of sensible length.
    if (!(frames >= kFewestFadeFrames)) {
        frames = kFewestFadeFrames;
    }
    return static_cast<std::int32_t>(std::min(frames, static_cast<double>(kMostFadeFrames)));
}
}  // namespace

void Zelmor::setSampleRate(float newSampleRate) {
    designTurn.take();
    applyLeftWrites();
    AudioEffect::setSampleRate(newSampleRate);
    // The cut-offs are fractions of the sample rate: a new rate needs a new design to keep them.
    updateFilters();
    finishDesignTurn();
}

// Hosts resume before playing and before exporting: what played before must not ring into it, so
// that two renders of the same input are equal.
void Zelmor::resume() {
    startFromSilence.store(true);
}

void Zelmor::updateFilters() {
    fcLower = converter.convert(kLowerCutoff, lowerValue.load(std::memory_order_relaxed)) / sampleRate;
    fcUpper = converter.convert(kUpperCutoff, upperValue.load(std::memory_order_relaxed)) / sampleRate;
    filterMode = modeOf(modeValue.load(std::memory_order_relaxed));
    ripplePercent = kRipplePercent;
    numPoles = kPoles;
    switch (filterMode) {
        case kLowPass:
            designLowPass(fcLower);
            break;
        case kHighPass:
            designHighPass(fcLower);
            break;
        case kBandPass:
            designLowPass(fcUpper);
            designHighPass(fcLower);
            break;
        default:
            designLowPass(fcLower);
            designHighPass(fcUpper);
            break;
    }

    FilterSetup& setup = published.prepare();
    setup.filterMode = filterMode;
    std::copy(std::begin(lowPassA), std::end(lowPassA), std::begin(setup.lowPassA));
    std::copy(std::begin(lowPassB), std::end(lowPassB), std::begin(setup.lowPassB));
    std::copy(std::begin(highPassA), std::end(highPassA), std::begin(setup.highPassA));
    std::copy(std::begin(highPassB), std::end(highPassB), std::begin(setup.highPassB));
    setup.fadeFrames = fadeFramesFor(setup, sampleRate);
    published.publish();
}

void Zelmor::designLowPass(float fc) {
    designChebyshev(FilterKind::LowPass, usableCutoff(fc), ripplePercent, numPoles, lowPassA, lowPassB);
}

void Zelmor::designHighPass(float fc) {
    designChebyshev(FilterKind::HighPass, usableCutoff(fc), ripplePercent, numPoles, highPassA, highPassB);
}

void Zelmor::processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) {
    if (sampleFrames <= 0) {
        return;
    }
    if (startFromSilence.exchange(false)) {
        if (fade.active()) {
            running = fade.incoming().setup();
            fade.stop();
        }
        filters.clear();
    }
    // A change that arrives during a fade waits for its end: the fade then starts from the design
    // that has just taken over.
    if (!fade.active() && published.hasFresh()) {
        takeLatestSetup();
    }
    std::int32_t done = 0;
    while (fade.active() && done < sampleFrames) {
        const std::int32_t frames = std::min({sampleFrames - done, fade.remaining(), DesignFade::kSliceFrames});
        float* in[2] = {inputs[0] + done, inputs[1] + done};
        float* out[2] = {outputs[0] + done, outputs[1] + done};
        fade.runIncoming(in, frames);
        filters.run(in, out, frames);
        if (fade.mixInto(out, frames)) {
            filters.takeOver(fade.incoming());
        }
        done += frames;
    }
    if (done < sampleFrames) {
        float* in[2] = {inputs[0] + done, inputs[1] + done};
        float* out[2] = {outputs[0] + done, outputs[1] + done};
        filters.run(in, out, sampleFrames - done);
    }
}

void Zelmor::takeLatestSetup() {
    const FilterSetup& latest = published.acquire();
    if (filtersAlike(running, latest)) {
        // Nothing audible changes (a cut-off the mode does not use moved, say): carry straight on.
        running = latest;
    } else if (filters.silent()) {
        // Nothing rings that the new design could excite: it takes over at once, from silence.
        filters.restart(latest);
    } else {
        fade.start(latest);
    }
}

void Zelmor::processFilter(float** inputs, float** outputs, std::int32_t sampleFrames, const float* a, const float* b,
                           float* outputHistoryLeft, float* outputHistoryRight, float* inputHistoryLeft,
                           float* inputHistoryRight) {
    BiquadFilter filter{a, b, {outputHistoryLeft, outputHistoryRight, inputHistoryLeft, inputHistoryRight}};
    runBiquad(inputs, outputs, sampleFrames, filter);
}

// Both run the design that is playing over the effect's own histories, as a block in that mode would.
void Zelmor::processBandPass(float** inputs, float** outputs, std::int32_t sampleFrames) {
    runFilters(kBandPass, running, filters.histories(), inputs, outputs, sampleFrames);
}

void Zelmor::processBandStop(float** inputs, float** outputs, std::int32_t sampleFrames) {
    runFilters(kBandStop, running, filters.histories(), inputs, outputs, sampleFrames);
}
