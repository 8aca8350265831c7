// Parameter changes on one thread while another processes: every block sees one complete design.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <iterator>
#include <thread>

#include "effect/setup_exchange.h"
#include "tests/test_host.h"

using namespace testhost;

namespace {

// The settled level of a constant 1.0 through a fresh effect in the given mode.
float settledDcLevel(float mode, double lower, double upper, float sampleRate) {
    auto effect = makeEffect();
    effect->setSampleRate(sampleRate);
    effect->setParameter(0, normalisedCutoff(lower));
    effect->setParameter(1, normalisedCutoff(upper));
    effect->setParameter(2, mode);
    Stereo input(8192, 1.0f);
    return process(*effect, input, 512).left.back();
}

}  // namespace

TEST(Concurrency, RedesignsWhileProcessingNeverTearACoefficientSet) {
    // Two designs with very different DC gains: low-pass (unity) and band stop (one half). A torn
    // set, or a mode that does not match its coefficients, shows up as a DC level that is neither.
    // Rounds of redesigns race the audio thread; after each, the audio thread lets the fades and the
    // filters settle and checks that the level is the one of the mode the round left, and nothing
    // else. Every block, settled or not, stays finite and bounded.
    constexpr double kUpper = 8000.0;
    const float lowPassLevel = settledDcLevel(kModeLowPass, 2000.0, kUpper, 44100.0f);
    const float bandStopLevel = settledDcLevel(0.9f, 2000.0, kUpper, 44100.0f);
    ASSERT_NEAR(lowPassLevel, 1.0f, 0.02f);
    ASSERT_NEAR(bandStopLevel, 0.5f, 0.02f);
    // Neither level depends on the cut-off or the sample rate beyond rounding.
    ASSERT_NEAR(settledDcLevel(kModeLowPass, 1500.0, kUpper, 48000.0f), lowPassLevel, 1e-4f);
    ASSERT_NEAR(settledDcLevel(0.9f, 2100.0, kUpper, 48000.0f), bandStopLevel, 1e-4f);

    auto effect = makeEffect();
    effect->setParameter(0, normalisedCutoff(2000.0));
    effect->setParameter(1, normalisedCutoff(kUpper));
    constexpr int kRounds = 200;
    // The round whose writes are complete, and the last round the audio thread has checked.
    std::atomic<int> written{0};
    std::atomic<int> checked{0};
    std::atomic<bool> failed{false};
    std::thread automation([&] {
        std::uint32_t state = 7;
        for (int round = 1; round <= kRounds && !failed.load(); ++round) {
            state = state * 1664525u + 1013904223u;
            const int writes = 1 + static_cast<int>(state >> 26);
            // The modes alternate within a round; odd rounds end on the low-pass, even ones on band stop.
            for (int i = 0; i < writes; ++i) {
                effect->setParameter(2, (round + writes - 1 - i) % 2 == 1 ? kModeLowPass : 0.9f);
                effect->setParameter(0, normalisedCutoff(1500.0 + ((round + i) % 7) * 100.0));
                effect->setSampleRate((round + i) % 3 == 0 ? 44100.0f : 48000.0f);
            }
            written.store(round);
            while (checked.load() < round && !failed.load()) {
                std::this_thread::yield();
            }
        }
    });

    // Longer than two of the longest fades (a change during a fade waits for its end) and the filters'
    // own settling after them, at the higher sample rate.
    constexpr int kSettleBlocks = 200 * 48 / 64;
    Stereo input(64, 1.0f);
    Stereo output(64);
    int blocks = 0;
    int round = 0;
    int settled = 0;
    while (round < kRounds) {
        const int complete = written.load();
        effect->processReplacing(input.channels(), output.channels(), 64);
        ++blocks;
        for (std::size_t n = 0; n < output.frames(); ++n) {
            for (float sample : {output.left[n], output.right[n]}) {
                if (!std::isfinite(sample) || std::abs(sample) >= 1.5f) {
                    failed.store(true);
                    automation.join();
                    FAIL() << "block " << blocks << " holds " << sample;
                }
            }
        }
        if (complete == round) {
            continue;  // the round's writes are still racing this block
        }
        if (++settled < kSettleBlocks) {
            continue;
        }
        round = complete;
        settled = 0;
        const bool lowPass = round % 2 == 1;
        const float expected = lowPass ? lowPassLevel : bandStopLevel;
        for (std::size_t n = 0; n < output.frames(); ++n) {
            if (std::abs(output.left[n] - expected) > 1e-3f || std::abs(output.right[n] - expected) > 1e-3f) {
                failed.store(true);
                automation.join();
                FAIL() << "round " << round << " settled at " << output.left[n] << ", " << output.right[n] << "; the "
                       << (lowPass ? "low-pass" : "band stop") << " level is " << expected;
            }
        }
        checked.store(round);
    }
    automation.join();
    EXPECT_GT(blocks, kRounds * kSettleBlocks);
}

// A data race between these reads and the writes (an access left without synchronisation) is
// ThreadSanitizer's to find. What any build checks: a reader on another thread only ever sees a value that a writer
// wrote to that parameter (or its initial value), never a torn float or another parameter's value,
// and once the writer is done every reader sees its last writes.
TEST(Concurrency, ParameterReadsFromAnyThread) {
    auto effect = makeEffect();
    // Each parameter's values are distinct from the others': k / 1024 with k % 3 == the parameter.
    constexpr int kWrites = 30000;
    auto written = [](int write) {
        const int index = write % 3;
        return static_cast<float>(index + 3 * ((write / 3) % 300)) / 1024.0f;
    };
    const float initial[3] = {effect->getParameter(0), effect->getParameter(1), effect->getParameter(2)};
    auto belongsTo = [&](std::int32_t index, float value) {
        if (value == initial[index]) {
            return true;
        }
        const float scaled = value * 1024.0f;
        return scaled >= 0.0f && scaled < 900.0f && scaled == std::floor(scaled) &&
               static_cast<int>(scaled) % 3 == index;
    };

    std::atomic<bool> done{false};
    struct Reader {
        long reads = 0;
        long foreign = 0;
        float firstForeign = 0.0f;
        std::int32_t firstForeignIndex = -1;
    };
    auto read = [&](Reader& reader) {
        do {
            for (std::int32_t index = 0; index < 3; ++index) {
                const float value = effect->getParameter(index);
                ++reader.reads;
                if (!belongsTo(index, value) && reader.foreign++ == 0) {
                    reader.firstForeign = value;
                    reader.firstForeignIndex = index;
                }
            }
        } while (!done.load());
    };
    Reader other;
    Reader here;
    std::thread otherReader(read, std::ref(other));
    std::thread writer([&] {
        for (int i = 0; i < kWrites; ++i) {
            effect->setParameter(i % 3, written(i));
        }
        done.store(true);
    });
    read(here);
    writer.join();
    otherReader.join();
    for (const Reader* reader : {&here, &other}) {
        EXPECT_EQ(reader->foreign, 0) << "of " << reader->reads << " reads; the first: " << reader->firstForeign
                                      << " from parameter " << reader->firstForeignIndex;
    }
    // After the writer: its last write to each parameter, on this thread and on another.
    float seenElsewhere[3] = {};
    std::thread([&] {
        for (std::int32_t index = 0; index < 3; ++index) {
            seenElsewhere[index] = effect->getParameter(index);
        }
    }).join();
    for (std::int32_t index = 0; index < 3; ++index) {
        const float last = written(kWrites - 3 + index);
        EXPECT_EQ(effect->getParameter(index), last) << "parameter " << index;
        EXPECT_EQ(seenElsewhere[index], last) << "parameter " << index;
    }
}

// A host's automation and the editor's gestures write parameters on two threads while audio plays:
// no write races, and once both stop, the working values, the program record and the sound all
// hold what the last writes left.
TEST(Concurrency, TwoParameterWritersAndTheAudioThreadEndConsistent) {
    auto effect = makeEffect();
    std::atomic<int> writersLeft{2};
    auto writer = [&](unsigned seed) {
        std::uint32_t state = seed;
        for (int i = 0; i < 5000; ++i) {
            state = state * 1664525u + 1013904223u;
            const auto index = static_cast<std::int32_t>(state >> 30) % 3;
            effect->setParameter(index, static_cast<float>(state >> 8) / 16777216.0f);
        }
        writersLeft.fetch_sub(1);
    };
    std::thread first(writer, 1u);
    std::thread second(writer, 2u);
    Stereo input(64, 0.5f);
    Stereo output(64);
    while (writersLeft.load() > 0) {
        effect->processReplacing(input.channels(), output.channels(), 64);
        for (float sample : output.left) {
            ASSERT_TRUE(std::isfinite(sample));
        }
    }
    first.join();
    second.join();

    void* chunk = nullptr;
    ASSERT_EQ(effect->dispatch(effGetChunk, 1, 0, &chunk), 36);
    float record[3];
    std::memcpy(record, chunk, sizeof record);
    EXPECT_EQ(record[0], effect->getParameter(2));
    EXPECT_EQ(record[1], effect->getParameter(0));
    EXPECT_EQ(record[2], effect->getParameter(1));

    // The sound is the design of those values: the same as a fresh effect's once the fades are over.
    auto fresh = makeEffect();
    for (std::int32_t index = 0; index < 3; ++index) {
        fresh->setParameter(index, effect->getParameter(index));
    }
    Stereo silence(44100);
    process(*effect, silence, 512);
    Stereo tone = sine(440.0, 44100.0, 4096);
    EXPECT_EQ(process(*effect, tone, 512).left, process(*fresh, tone, 512).left);
}

TEST(SetupExchange, ReaderAlwaysGetsTheLatestCompleteSetup) {
    SetupExchange exchange;
    auto publish = [&](std::int32_t mode, float marker) {
        FilterSetup& setup = exchange.prepare();
        setup.filterMode = mode;
        std::fill(std::begin(setup.lowPassA), std::end(setup.lowPassA), marker);
        exchange.publish();
    };
    publish(1, 1.0f);
    publish(2, 2.0f);
    const FilterSetup* seen = &exchange.acquire();
    EXPECT_EQ(seen->filterMode, 2);
    EXPECT_EQ(seen->lowPassA[21], 2.0f);
    EXPECT_EQ(&exchange.acquire(), seen) << "nothing new: the same slot";
    for (std::int32_t round = 3; round < 12; ++round) {
        publish(round, static_cast<float>(round));
        publish(round + 100, static_cast<float>(round + 100));
        EXPECT_EQ(seen->filterMode, round == 3 ? 2 : round - 1 + 100) << "the held slot is never overwritten";
        seen = &exchange.acquire();
        EXPECT_EQ(seen->filterMode, round + 100);
        EXPECT_EQ(seen->lowPassA[0], static_cast<float>(round + 100));
    }
}
