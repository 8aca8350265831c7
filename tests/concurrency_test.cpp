// Parameter changes on one thread while another processes: every block sees one complete design.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <iterator>
#include <thread>

#include "effect/setup_exchange.h"
#include "tests/test_host.h"

using namespace testhost;

TEST(Concurrency, RedesignsWhileProcessingNeverTearACoefficientSet) {
    auto effect = makeEffect();
    // Two designs with very different DC gains: low-pass (unity) and band stop (one half). A torn
    // set, or a mode that does not match its coefficients, shows up as a DC level that is neither.
    effect->setParameter(0, normalisedCutoff(2000.0));
    effect->setParameter(1, normalisedCutoff(8000.0));
    std::atomic<bool> done{false};
    std::thread automation([&] {
        float mode = 0.0f;
        for (int i = 0; i < 20000 && !done.load(); ++i) {
            mode = mode == 0.0f ? 0.9f : 0.0f;
            effect->setParameter(2, mode);
            effect->setParameter(0, normalisedCutoff(1500.0 + (i % 7) * 100.0));
            effect->setSampleRate(i % 2 == 0 ? 44100.0f : 48000.0f);
        }
        done.store(true);
    });

    Stereo input(64, 1.0f);
    Stereo output(64);
    int blocks = 0;
    while (!done.load() || blocks < 100) {
        effect->processReplacing(input.channels(), output.channels(), 64);
        for (float sample : output.left) {
            ASSERT_TRUE(std::isfinite(sample));
            ASSERT_LT(std::abs(sample), 1.5f);
        }
        ++blocks;
        if (blocks > 2000000) {
            break;
        }
    }
    done.store(true);
    automation.join();
    EXPECT_GT(blocks, 100);
}

TEST(Concurrency, ParameterReadsFromAnyThread) {
    auto effect = makeEffect();
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 20000; ++i) {
            effect->setParameter(i % 3, static_cast<float>(i % 100) / 100.0f);
        }
        done.store(true);
    });
    while (!done.load()) {
        for (std::int32_t index = 0; index < 3; ++index) {
            float value = effect->getParameter(index);
            ASSERT_GE(value, 0.0f);
            ASSERT_LE(value, 1.0f);
        }
    }
    writer.join();
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
