// Cost of the audio callback per stereo frame: the four modes, block sizes, and decaying silence.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "bench/fused_reference_loop.h"
#include "bench/reference_loop.h"
#include "host/hosted_effect.h"

namespace {

const PluginLibrary& plugin() {
    static std::unique_ptr<PluginLibrary> library = [] {
        std::string error;
        auto loaded = PluginLibrary::open(ZELMOR_PLUGIN_PATH, error);
        if (!loaded) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::abort();
        }
        return loaded;
    }();
    return *library;
}

std::unique_ptr<HostedEffect> effectInMode(float mode, float lower, float upper) {
    std::string error;
    auto effect = HostedEffect::create(plugin(), error);
    effect->setParameter(0, lower);
    effect->setParameter(1, upper);
    effect->setParameter(2, mode);
    effect->resume();
    return effect;
}

std::vector<float> noise(std::size_t frames, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> distribution(-1.0f, 1.0f);
    std::vector<float> samples(frames);
    for (float& sample : samples) {
        sample = distribution(generator);
    }
    return samples;
}

benchmark::Counter perFrame(double frames) {
    return benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

constexpr float kModes[] = {0.0f, 0.25f, 0.5f, 0.75f};

void Callback(benchmark::State& state) {
    const float mode = kModes[state.range(0)];
    const auto block = static_cast<std::size_t>(state.range(1));
    auto effect = effectInMode(mode, 0.3f, 0.7f);
    std::vector<float> left = noise(block, 1), right = noise(block, 2), outLeft(block), outRight(block);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    for (auto _ : state) {
        effect->processReplacing(inputs, outputs, static_cast<std::int32_t>(block));
        benchmark::ClobberMemory();
    }
    state.counters["frame"] = perFrame(static_cast<double>(block) * static_cast<double>(state.iterations()));
}
BENCHMARK(Callback)->ArgNames({"mode", "block"})->ArgsProduct({{0, 1, 2, 3}, {1, 32, 512, 4096}});

// A plain loop of the recursion over blocks of noise: the yardsticks.
template <typename Filter, typename Process>
void plainLoop(benchmark::State& state, Filter filter, Process process) {
    const auto block = static_cast<std::size_t>(state.range(0));
    std::vector<float> left = noise(block, 1), right = noise(block, 2), outLeft(block), outRight(block);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    for (auto _ : state) {
        process(filter, inputs, outputs, static_cast<std::int32_t>(block));
        benchmark::ClobberMemory();
    }
    state.counters["frame"] = perFrame(static_cast<double>(block) * static_cast<double>(state.iterations()));
}

// The same recursion as a plain loop over the left channel, then the right.
void ReferenceLoop(benchmark::State& state) {
    plainLoop(state, ReferenceBiquad{0.004243, 0.008486, 0.004243, 1.8161, -0.8330, {}, {}, {}, {}}, referenceProcess);
}
BENCHMARK(ReferenceLoop)->ArgName("block")->Arg(32)->Arg(512)->Arg(4096);

// The recursion with fused multiply-add, both channels in one register, as one plain loop.
void FusedReferenceLoop(benchmark::State& state) {
    if (!fusedReferenceRuns()) {
        state.SkipWithError("no AVX with fused multiply-add on this processor");
        return;
    }
    plainLoop(state, FusedReferenceBiquad{0.004243, 0.008486, 0.004243, 1.8161, -0.8330, {}, {}, {}, {}},
              fusedReferenceProcess);
}
BENCHMARK(FusedReferenceLoop)->ArgName("block")->Arg(32)->Arg(512)->Arg(4096);

// Every block a new design, so that every frame is processed during a cross-fade: two designs run
// side by side and are mixed. At 44.1 kHz with cut-offs above a few hundred hertz a fade lasts its
// shortest, 5 ms or 220 frames: the block. Only the callback is timed, not the redesign before it.
void CallbackDuringAFade(benchmark::State& state) {
    const float mode = kModes[state.range(0)];
    constexpr std::size_t kFadeFrames = 220;
    auto effect = effectInMode(mode, 0.3f, 0.7f);
    std::vector<float> left = noise(kFadeFrames, 1), right = noise(kFadeFrames, 2), outLeft(kFadeFrames),
                       outRight(kFadeFrames);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    effect->processReplacing(inputs, outputs, static_cast<std::int32_t>(kFadeFrames));
    float lower = 0.3f;
    for (auto _ : state) {
        lower = lower == 0.3f ? 0.31f : 0.3f;
        effect->setParameter(0, lower);
        const auto start = std::chrono::steady_clock::now();
        effect->processReplacing(inputs, outputs, static_cast<std::int32_t>(kFadeFrames));
        benchmark::ClobberMemory();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["frame"] = perFrame(static_cast<double>(kFadeFrames) * static_cast<double>(state.iterations()));
}
BENCHMARK(CallbackDuringAFade)->ArgName("mode")->DenseRange(0, 3)->UseManualTime();

// A loud burst, then ten seconds of silence (or of noise, for comparison) through a 20 Hz low-pass:
// the slowest decay, which would crawl through denormal numbers for seconds.
void AfterLoudSignal(benchmark::State& state) {
    const bool silence = state.range(0) == 1;
    constexpr std::size_t kBlock = 512;
    constexpr std::size_t kBurstBlocks = 8;
    constexpr std::size_t kBlocks = 44100 * 10 / kBlock;
    auto effect = effectInMode(0.0f, 0.0f, 0.5f);
    std::vector<float> loud = noise(kBlock, 3), quiet(kBlock, 0.0f), out(kBlock);
    std::vector<float> after = silence ? quiet : noise(kBlock, 4);
    for (auto _ : state) {
        for (std::size_t i = 0; i < kBlocks; ++i) {
            float* source = i < kBurstBlocks ? loud.data() : after.data();
            float* inputs[2] = {source, source};
            float* outputs[2] = {out.data(), out.data()};
            effect->processReplacing(inputs, outputs, static_cast<std::int32_t>(kBlock));
        }
        benchmark::ClobberMemory();
    }
    state.counters["frame"] = perFrame(static_cast<double>(kBlock * kBlocks) * static_cast<double>(state.iterations()));
}
BENCHMARK(AfterLoudSignal)->ArgName("silence")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

// setParameter (argument 1) as hosts call it from their audio thread while another thread restores
// chunks: each iteration is 3 million calls; worst_us is the slowest single call, over_20us how many
// took longer than that. getParameter (argument 0), a plain atomic load, shows what the machine
// itself adds: interrupts and the processor taken away by the system or a hypervisor.
void ParameterCallBesideChunkRestores(benchmark::State& state) {
    const bool setting = state.range(0) != 0;
    constexpr int kCalls = 3000000;
    auto effect = effectInMode(0.0f, 0.3f, 0.7f);
    double worst = 0.0;
    double slow = 0.0;
    float sink = 0.0f;
    for (auto _ : state) {
        std::atomic<bool> stop{false};
        std::thread restorer([&] {
            std::vector<char> bank(576);
            while (!stop.load()) {
                void* data = nullptr;
                if (effect->dispatch(effGetChunk, 0, 0, &data) == 576) {
                    std::memcpy(bank.data(), data, bank.size());
                    effect->dispatch(effSetChunk, 0, 576, bank.data());
                }
            }
        });
        for (int call = 0; call < kCalls; ++call) {
            const auto start = std::chrono::steady_clock::now();
            if (setting) {
                effect->setParameter(call % 3, static_cast<float>(call % 100) / 100.0f);
            } else {
                sink += effect->getParameter(call % 3);
            }
            const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
            worst = std::max(worst, took.count());
            slow += took.count() > 20.0 ? 1.0 : 0.0;
        }
        stop.store(true);
        restorer.join();
    }
    benchmark::DoNotOptimize(sink);
    state.counters["worst_us"] = worst;
    state.counters["over_20us"] = slow;
    state.counters["per_call"] =
        benchmark::Counter(static_cast<double>(kCalls) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(ParameterCallBesideChunkRestores)
    ->ArgName("set")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Making an instance through the entry point and closing it, with the editor closed: what a host pays
// per plug-in when it loads a project.
void MakeAndCloseAnInstance(benchmark::State& state) {
    std::string error;
    for (auto _ : state) {
        auto effect = HostedEffect::create(plugin(), error);
        benchmark::DoNotOptimize(effect.get());
    }
}
BENCHMARK(MakeAndCloseAnInstance)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
