// The validator's runner: every check in turn, one line each, then the totals.
#include "host/validate/validation.h"

#include "host/validate/float_state.h"

#include <exception>
#include <stdexcept>

namespace validate {

std::unique_ptr<HostedEffect> makeEffect(const Context& context, double sampleRate, int blockFrames) {
    std::string error;
    auto effect = HostedEffect::create(*context.library, error);
    if (!effect) {
        throw std::runtime_error(error);
    }
    effect->dispatch(effOpen);
    effect->setSampleRate(static_cast<float>(sampleRate));
    effect->setBlockSize(blockFrames);
    effect->resume();
    return effect;
}

std::string describeEnd(const WorkerRun& run, double seconds) {
    if (!run.started) {
        return "could not be started: " + run.output;
    }
    if (run.timedOut) {
        char text[64];
        std::snprintf(text, sizeof text, "hung: stopped after %g s", seconds);
        return text;
    }
    if (!run.exited) {
        return "crashed";
    }
    return "exited with status " + std::to_string(run.status);
}

namespace {

std::vector<Check> allChecks() {
    std::vector<Check> checks;
    for (auto group : {entryChecks, textChecks, instanceChecks, processingChecks, parameterChecks, chunkChecks,
                       jumpChecks, threadChecks, realtimeChecks, floatModeChecks, quirkChecks, editorChecks,
                       constructChecks, latencyChecks, unloadChecks, connectionChecks, resumeChecks}) {
        for (const Check& check : group()) {
            checks.push_back(check);
        }
    }
    return checks;
}

}  // namespace

int runAll(Context& context, std::FILE* out) {
    int passes = 0;
    int failures = 0;
    int skips = 0;
    int warnings = 0;
    // A plug-in that changes the floating-point mode in one check must not change what the next sees.
    const FloatState initial = readFloatState();
    for (const Check& check : allChecks()) {
        writeFloatState(initial);
        Outcome outcome;
        try {
            outcome = check.run(context);
        } catch (const std::exception& error) {
            outcome = failed(std::string("stopped: ") + error.what());
        }
        const char* word = "PASS";
        if (outcome.verdict == Verdict::fail) {
            word = "FAIL";
            ++failures;
        } else if (outcome.verdict == Verdict::skip) {
            word = "SKIP";
            ++skips;
        } else if (outcome.verdict == Verdict::warn) {
            word = "WARN";
            ++warnings;
        } else {
            ++passes;
        }
        std::fprintf(out, "%s %s: %s\n", word, check.name, outcome.figures.c_str());
        std::fflush(out);
    }
    writeFloatState(initial);
    std::string totals = std::to_string(passes) + " passed, " + std::to_string(failures) + " failed";
    if (skips > 0) {
        totals += ", " + std::to_string(skips) + " skipped";
    }
    if (warnings > 0) {
        totals += ", " + std::to_string(warnings) + (warnings == 1 ? " warning" : " warnings");
    }
    std::fprintf(out, "%s\n", totals.c_str());
    return failures;
}

}  // namespace validate
