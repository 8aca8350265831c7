// Filter redesign after parameter and sample-rate changes, and the audio processing of each block.
#include "effect/zelmor.h"

#include "effect/stereo_biquad.h"

#include <algorithm>
#include <iterator>

namespace {
constexpr float kRipplePercent = 0.5f;
constexpr std::int32_t kPoles = 2;
}  // namespace

void Zelmor::setSampleRate(float newSampleRate) {
    {
        std::lock_guard<std::mutex> lock(designLock);
        AudioEffect::setSampleRate(newSampleRate);
    }
    // The cut-offs are fractions of the sample rate: a new rate needs a new design to keep them.
    updateFilters();
}

void Zelmor::updateFilters() {
    std::lock_guard<std::mutex> lock(designLock);
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
    setup.numPoles = numPoles;
    std::copy(std::begin(lowPassA), std::end(lowPassA), std::begin(setup.lowPassA));
    std::copy(std::begin(lowPassB), std::end(lowPassB), std::begin(setup.lowPassB));
    std::copy(std::begin(highPassA), std::end(highPassA), std::begin(setup.highPassA));
    std::copy(std::begin(highPassB), std::end(highPassB), std::begin(setup.highPassB));
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
    blockSetup = &published.acquire();
    switch (blockSetup->filterMode) {
        case kLowPass:
            processFilter(inputs, outputs, sampleFrames, blockSetup->lowPassA, blockSetup->lowPassB, lowPassYL,
                          lowPassYR, lowPassXL, lowPassXR);
            break;
        case kHighPass:
            processFilter(inputs, outputs, sampleFrames, blockSetup->highPassA, blockSetup->highPassB, highPassYL,
                          highPassYR, highPassXL, highPassXR);
            break;
        case kBandPass:
            processBandPass(inputs, outputs, sampleFrames);
            break;
        default:
            processBandStop(inputs, outputs, sampleFrames);
            break;
    }
}

void Zelmor::processFilter(float** inputs, float** outputs, std::int32_t sampleFrames, const float* a, const float* b,
                           float* outputHistoryLeft, float* outputHistoryRight, float* inputHistoryLeft,
                           float* inputHistoryRight) {
    BiquadFilter filter{a, b, {outputHistoryLeft, outputHistoryRight, inputHistoryLeft, inputHistoryRight}};
    runBiquad(inputs, outputs, sampleFrames, filter);
}

// The high-pass takes the low-pass output sample by sample, so its input histories hold low-pass
// output, and no intermediate buffer is needed for any block length.
void Zelmor::processBandPass(float** inputs, float** outputs, std::int32_t sampleFrames) {
    BiquadFilter lowPass{blockSetup->lowPassA, blockSetup->lowPassB, {lowPassYL, lowPassYR, lowPassXL, lowPassXR}};
    BiquadFilter highPass{
        blockSetup->highPassA, blockSetup->highPassB, {highPassYL, highPassYR, highPassXL, highPassXR}};
    runBiquadSeries(inputs, outputs, sampleFrames, lowPass, highPass);
}

void Zelmor::processBandStop(float** inputs, float** outputs, std::int32_t sampleFrames) {
    BiquadFilter lowPass{blockSetup->lowPassA, blockSetup->lowPassB, {lowPassYL, lowPassYR, lowPassXL, lowPassXR}};
    BiquadFilter highPass{
        blockSetup->highPassA, blockSetup->highPassB, {highPassYL, highPassYR, highPassXL, highPassXR}};
    runBiquadAverage(inputs, outputs, sampleFrames, lowPass, highPass);
}
