// Fuzzes bank and program chunks through effSetChunk, then filters noise with every program they bring.
//
// Input: one byte of settings, then the chunk. Bit 0 of the settings chooses a bank (1) or a program (0);
// bit 1 pads or cuts the chunk to the size the effect expects, otherwise it goes with the size it has;
// bits 2 to 4 choose the sample rate and bits 5 to 7 the block size.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/fuzz/fuzz_host.h"

namespace {

constexpr std::size_t kProgramBytes = 36;
constexpr std::int32_t kPrograms = 16;
constexpr float kSampleRates[] = {44100.0f, 48000.0f, 96000.0f, 192000.0f, 22050.0f, 8000.0f, 11025.0f, 1000.0f};
constexpr std::int32_t kBlockSizes[] = {1, 3, 16, 64, 100, 256, 512, 1024};
constexpr int kBlocksPerProgram = 2;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t settings = data[0];
    const bool bank = (settings & 1) != 0;
    const bool fitted = (settings & 2) != 0;
    const float sampleRate = kSampleRates[(settings >> 2) & 7];
    const std::int32_t blockSize = kBlockSizes[(settings >> 5) & 7];
    const std::size_t expected = bank ? kPrograms * kProgramBytes : kProgramBytes;

    // A chunk of its own allocation, exactly as long as the size passed, so that reading past it is caught.
    std::vector<std::uint8_t> chunk(data + 1, data + size);
    if (fitted) {
        chunk.resize(expected, 0);
    }

    AEffect* effect = fuzzhost::openEffect();
    fuzzhost::dispatch(effect, effSetSampleRate, 0, 0, nullptr, sampleRate);
    fuzzhost::dispatch(effect, effSetBlockSize, 0, blockSize);
    fuzzhost::dispatch(effect, effMainsChanged, 0, 1);
    const std::intptr_t accepted =
        fuzzhost::dispatch(effect, effSetChunk, bank ? 0 : 1, static_cast<std::intptr_t>(chunk.size()), chunk.data());
    const std::intptr_t wanted = chunk.size() == expected ? static_cast<std::intptr_t>(expected) : 0;
    if (accepted != wanted) {
        std::fprintf(stderr, "effSetChunk of %zu bytes answered %td, not %td\n", chunk.size(), accepted, wanted);
        std::abort();
    }

    fuzzhost::StereoBlock block(blockSize);
    std::uint32_t seed = 1;
    const std::int32_t programs = bank ? kPrograms : 1;
    for (std::int32_t program = 0; program < programs; ++program) {
        fuzzhost::dispatch(effect, effSetProgram, 0, program);
        for (int i = 0; i < kBlocksPerProgram; ++i) {
            block.fillNoise(seed++);
            block.processAndCheck(effect);
        }
    }

    void* handedOut = nullptr;
    const std::intptr_t length = fuzzhost::dispatch(effect, effGetChunk, bank ? 0 : 1, 0, &handedOut);
    if (handedOut == nullptr || length != static_cast<std::intptr_t>(expected)) {
        std::fprintf(stderr, "effGetChunk answered %td bytes\n", length);
        std::abort();
    }
    fuzzhost::closeEffect(effect);
    return 0;
}
