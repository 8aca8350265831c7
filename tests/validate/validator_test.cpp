// The validator's own machinery where a mistake would hide a plug-in's fault: the canary's edge,
// the classification of output samples, and restarting chunk workers after a crash.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "host/validate/signals.h"
#include "host/validate/text_probe.h"
#include "host/validate/validation.h"

using namespace validate;

namespace {

// The gain plug-in of the validator's tests, without a fault: its first parameter is named "Gain".
struct GainPlugin {
    GainPlugin() {
        std::string error;
        library = PluginLibrary::open(ZELMOR_FAULTY_PLUGIN, error);
        context.library = library.get();
        context.pluginPath = ZELMOR_FAULTY_PLUGIN;
    }
    std::unique_ptr<PluginLibrary> library;
    Context context;
};

std::vector<Check>::value_type findCheck(const std::vector<Check>& checks, const std::string& name) {
    for (const Check& check : checks) {
        if (name == check.name) {
            return check;
        }
    }
    ADD_FAILURE() << "no check " << name;
    return checks.front();
}

std::string okLines(int first, int last) {
    std::string lines;
    for (int size = first; size <= last; ++size) {
        lines += "ok " + std::to_string(size) + "\n";
    }
    return lines;
}

}  // namespace

TEST(TextProbe, ATextThatFillsItsBufferExactlyFits) {
    GainPlugin plugin;
    ASSERT_NE(plugin.library, nullptr);
    auto effect = makeEffect(plugin.context);
    TextAnswer answer = askText(*effect, effGetParamName, 0, 0, 5);  // "Gain" and its terminator
    EXPECT_TRUE(answer.fits());
    EXPECT_EQ(answer.text, "Gain");
}

TEST(TextProbe, ATerminatorOneBytePastTheBufferIsAnOverrun) {
    GainPlugin plugin;
    ASSERT_NE(plugin.library, nullptr);
    auto effect = makeEffect(plugin.context);
    TextAnswer answer = askText(*effect, effGetParamName, 0, 0, 4);
    EXPECT_FALSE(answer.fits());
    EXPECT_EQ(answer.overrun, 1);
    EXPECT_FALSE(answer.terminated);
    EXPECT_EQ(describeMisfit("effGetParamName", 0, answer, 4),
              "effGetParamName(0) wrote 1 bytes past its 4-byte buffer");
}

TEST(Tally, TellsUnwrittenFromComputedNaNAndCountsSubnormalsAmongFiniteSamples) {
    Channels channels(1, 6);
    channels.fillGarbage();
    float* samples = channels.channel(0);
    samples[0] = std::numeric_limits<float>::quiet_NaN();
    samples[1] = std::numeric_limits<float>::infinity();
    samples[2] = 1e-40f;
    samples[3] = -0.5f;
    samples[4] = std::numeric_limits<float>::min();  // the smallest normal number is not subnormal
    Tally tally;
    tally.add(channels, 6);
    EXPECT_EQ(tally.samples, 6u);
    EXPECT_EQ(tally.nans, 1u);
    EXPECT_EQ(tally.infinities, 1u);
    EXPECT_EQ(tally.subnormals, 1u);
    EXPECT_EQ(tally.unwritten, 1u);
    EXPECT_DOUBLE_EQ(tally.peak, 0.5);
    EXPECT_FALSE(tally.finite());
}

TEST(Channels, NoiseStaysWithinItsPeakAndRepeatsWithTheSeed) {
    Channels first(2, 1000);
    Channels second(2, 1000);
    Random a(5), b(5);
    first.fillNoise(a, 0.8f);
    second.fillNoise(b, 0.8f);
    Tally tally;
    tally.add(first, 1000);
    EXPECT_LE(tally.peak, 0.8);
    EXPECT_GT(tally.peak, 0.7);
    EXPECT_EQ(std::memcmp(first.channel(1), second.channel(1), 1000 * sizeof(float)), 0);
    EXPECT_NE(std::memcmp(first.channel(0), first.channel(1), 1000 * sizeof(float)), 0);
}

// Workers that die at chosen sizes: the check must count each death once, name the size, and go
// on right after it, for banks and programs alike.
TEST(ChunkSizes, RestartsAfterTheSizeAWorkerDiedAt) {
    GainPlugin plugin;
    ASSERT_NE(plugin.library, nullptr);
    std::vector<std::string> starts;
    plugin.context.runWorker = [&starts](const std::vector<std::string>& arguments) {
        const std::string kind = arguments.at(2);
        const int first = std::stoi(arguments.at(3));
        starts.push_back(kind + " " + arguments.at(3));
        WorkerRun run;
        run.started = true;
        const int dies = kind == "bank" ? 500 : 0;
        if (first <= dies) {
            run.output = okLines(first, dies - 1);
            return run;
        }
        run.output = okLines(first, std::stoi(arguments.at(4))) + "done\n";
        run.exited = true;
        run.status = 0;
        return run;
    };
    Outcome outcome = findCheck(chunkChecks(), "chunk-sizes").run(plugin.context);
    EXPECT_EQ(outcome.verdict, Verdict::fail);
    EXPECT_NE(outcome.figures.find("4 worker processes: 2 crashes (at bank 500, program 0)"), std::string::npos)
        << outcome.figures;
    EXPECT_EQ(starts, (std::vector<std::string>{"bank 0", "bank 501", "program 0", "program 1"}));
}

TEST(ChunkSizes, AWorkerThatNeverStartsFailsOnceInsteadOfLooping) {
    GainPlugin plugin;
    ASSERT_NE(plugin.library, nullptr);
    int runs = 0;
    plugin.context.runWorker = [&runs](const std::vector<std::string>&) {
        ++runs;
        WorkerRun run;
        run.output = "cannot start";
        return run;
    };
    Outcome outcome = findCheck(chunkChecks(), "chunk-sizes").run(plugin.context);
    EXPECT_EQ(outcome.verdict, Verdict::fail);
    EXPECT_EQ(runs, 1);
    EXPECT_NE(outcome.figures.find("could not be started"), std::string::npos);
}

// A worker that exits cleanly but never says it finished (a plug-in calling exit) is a crash too.
TEST(ChunkSizes, AnExitWithoutFinishingCountsAsACrash) {
    GainPlugin plugin;
    ASSERT_NE(plugin.library, nullptr);
    plugin.context.runWorker = [](const std::vector<std::string>& arguments) {
        const int first = std::stoi(arguments.at(3));
        WorkerRun run;
        run.started = true;
        run.exited = true;
        run.status = 0;
        run.output = first <= 10 ? okLines(first, 9) : okLines(first, 1200) + "done\n";
        return run;
    };
    Outcome outcome = findCheck(chunkChecks(), "chunk-sizes").run(plugin.context);
    EXPECT_EQ(outcome.verdict, Verdict::fail);
    EXPECT_NE(outcome.figures.find("2 crashes (at bank 10, program 10)"), std::string::npos) << outcome.figures;
}

TEST(Editor, WithoutAWindowItIsSkippedNotFailed) {
    GainPlugin plugin;
    ASSERT_NE(plugin.library, nullptr);
    // The gain plug-in has no editor: the check says so instead of failing.
    Outcome outcome = findCheck(editorChecks(), "editor").run(plugin.context);
    EXPECT_EQ(outcome.verdict, Verdict::skip);
    EXPECT_NE(outcome.figures.find("effFlagsHasEditor"), std::string::npos);
}
