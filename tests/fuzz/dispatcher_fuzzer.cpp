// Fuzzes the dispatcher with any opcode, index, value and opt, between parameter changes and audio blocks.
//
// The operands stay what a host may pass: ptr is null or a zero-filled buffer large enough for any text
// or structure the interface defines (a zeroed structure holds null pointers and zero counts), sizes are
// clamped to that buffer, output pointers are valid, the editor opens with no parent window, and the
// effect is closed only at the end.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_host.h"

namespace {

constexpr std::size_t kBufferBytes = 4096;
constexpr std::int32_t kLongestBlock = 1024;
constexpr int kMostSteps = 64;

// Operations whose ptr is a buffer the effect writes or reads text from, or a pointer it stores into:
// no host passes null there.
bool needsBuffer(std::int32_t opcode) {
    switch (opcode) {
        case effSetProgramName:
        case effGetProgramName:
        case effGetParamLabel:
        case effGetParamDisplay:
        case effGetParamName:
        case effEditGetRect:
        case effGetChunk:
        case effSetChunk:
        case effString2Parameter:
        case effGetProgramNameIndexed:
        case effGetInputProperties:
        case effGetOutputProperties:
        case effGetEffectName:
        case effGetVendorString:
        case effGetProductString:
        case effCanDo:
        case effGetParameterProperties:
        case effGetMidiProgramName:
        case effGetCurrentMidiProgram:
        case effGetMidiProgramCategory:
        case effGetMidiKeyName:
        case effGetSpeakerArrangement:
        case effShellGetNextPlugin:
            return true;
        default:
            return false;
    }
}

// Operations whose ptr is text the effect reads: the buffer gets a terminated string from the input.
bool takesText(std::int32_t opcode) {
    return opcode == effSetProgramName || opcode == effString2Parameter || opcode == effCanDo;
}

struct Buffers {
    alignas(16) std::uint8_t main[kBufferBytes];
    alignas(16) std::uint8_t second[kBufferBytes];
};

void dispatchOnce(AEffect* effect, FuzzedDataProvider& input, Buffers& buffers) {
    std::int32_t opcode = input.ConsumeBool() ? input.ConsumeIntegralInRange<std::int32_t>(-3, 83)
                                              : input.ConsumeIntegral<std::int32_t>();
    const std::int32_t index = input.ConsumeBool() ? input.ConsumeIntegralInRange<std::int32_t>(-2, 20)
                                                   : input.ConsumeIntegral<std::int32_t>();
    auto value = input.ConsumeIntegral<std::intptr_t>();
    float opt = input.ConsumeFloatingPoint<float>();
    const bool withBuffer = input.ConsumeBool();
    if (opcode == effClose) {
        opcode = effOpen;
    }

    std::memset(&buffers, 0, sizeof buffers);
    void* ptr = withBuffer || needsBuffer(opcode) ? buffers.main : nullptr;
    if (takesText(opcode)) {
        const std::string text = input.ConsumeRandomLengthString(kBufferBytes - 1);
        std::memcpy(buffers.main, text.c_str(), text.size() + 1);
    }
    switch (opcode) {
        case effEditOpen:
            ptr = nullptr;  // a parent window the fuzzer made up would not be a window
            break;
        case effSetChunk:
            value = std::clamp<std::intptr_t>(value, 0, kBufferBytes);
            break;
        case effGetSpeakerArrangement:
        case effSetSpeakerArrangement:
            value = reinterpret_cast<std::intptr_t>(buffers.second);  // the second arrangement
            break;
        case effOfflineNotify:
        case effOfflinePrepare:
        case effOfflineRun:
            value = std::clamp<std::intptr_t>(value, 0, 1);  // the count of zeroed records at ptr
            break;
        case effSetSampleRate:
            // Hosts run at audible rates; a rate of zero or NaN only makes every filter NaN.
            opt = std::clamp(opt, 1000.0f, 384000.0f);
            break;
        default:
            break;
    }
    fuzzhost::dispatch(effect, opcode, index, value, ptr, opt);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    AEffect* effect = fuzzhost::openEffect();
    static Buffers buffers;
    fuzzhost::StereoBlock block(kLongestBlock);
    std::uint32_t seed = 1;
    for (int step = 0; step < kMostSteps && input.remaining_bytes() > 0; ++step) {
        switch (input.ConsumeIntegralInRange(0, 3)) {
            case 0:
                dispatchOnce(effect, input, buffers);
                break;
            case 1: {
                const auto index = input.ConsumeIntegralInRange<std::int32_t>(-1, 3);
                effect->setParameter(effect, index, input.ConsumeFloatingPoint<float>());
                break;
            }
            case 2:
                effect->getParameter(effect, input.ConsumeIntegralInRange<std::int32_t>(-1, 3));
                break;
            default: {
                // Values outside 0..1 and made-up rates legitimately make any output: only the sanitizers
                // judge these blocks.
                const auto frames = input.ConsumeIntegralInRange<std::int32_t>(-1, kLongestBlock);
                block.fillNoise(seed++);
                float* inputs[2] = {nullptr, nullptr};
                float* outputs[2] = {nullptr, nullptr};
                block.channels(inputs, outputs);
                effect->processReplacing(effect, inputs, outputs, frames);
                break;
            }
        }
    }
    fuzzhost::closeEffect(effect);
    return 0;
}
