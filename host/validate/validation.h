// The validator's shared pieces: what every check is given, what it answers, and the list of checks.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/hosted_effect.h"
#include "host/plugin_library.h"

namespace validate {

// A warning is a finding that some hosts may live with: shown, but not counted as a failure.
enum class Verdict { pass, fail, skip, warn };

struct Outcome {
    Verdict verdict = Verdict::pass;
    std::string figures;  // what was measured, and for a failure what was wrong
};

inline Outcome passed(std::string figures) {
    return {Verdict::pass, std::move(figures)};
}
inline Outcome failed(std::string figures) {
    return {Verdict::fail, std::move(figures)};
}
inline Outcome skipped(std::string reason) {
    return {Verdict::skip, std::move(reason)};
}
inline Outcome warned(std::string figures) {
    return {Verdict::warn, std::move(figures)};
}

// How a worker run of the host itself ended: its exit status (or crash) and what it printed.
struct WorkerRun {
    bool started = false;
    bool exited = false;    // false when it crashed or was stopped
    bool timedOut = false;  // stopped after running longer than the worker's time limit
    int status = -1;
    std::string output;
};

// How a worker run ended, for a check's line: "exited with status 3", "crashed", "hung: stopped after 60 s".
std::string describeEnd(const WorkerRun& run, double seconds);

// A top-level window of the host for an editor to open in; every call on the thread that made it.
class ParentWindow {
public:
    virtual ~ParentWindow() = default;
    virtual void* nativeHandle() const = 0;
    virtual std::intptr_t openValue() const = 0;
    // Handles the window's pending events, calling tick between them until tick answers false.
    virtual void run(const std::function<bool()>& tick) = 0;
};

struct Context {
    std::string pluginPath;
    const PluginLibrary* library = nullptr;
    std::uint64_t seed = 0;
    bool quick = false;
    // How long one worker process may run before it counts as hung and is killed.
    double workerSeconds = 60.0;
    // Runs this program again with the given arguments (the hidden worker commands).
    std::function<WorkerRun(const std::vector<std::string>& arguments)> runWorker;
    // A window for the editor, or null with a reason when there is no desktop.
    std::function<std::unique_ptr<ParentWindow>(int width, int height, std::string& reason)> makeWindow;
};

// A fresh effect, opened, at the rate and block size, resumed; throws std::runtime_error when the
// plug-in yields none.
std::unique_ptr<HostedEffect> makeEffect(const Context& context, double sampleRate = 44100.0, int blockFrames = 512);

struct Check {
    const char* name;
    Outcome (*run)(Context& context);
};

// Each group of checks lists its own; the runner takes them in this order.
std::vector<Check> entryChecks();
std::vector<Check> textChecks();
std::vector<Check> instanceChecks();
std::vector<Check> processingChecks();
std::vector<Check> parameterChecks();
std::vector<Check> chunkChecks();
std::vector<Check> jumpChecks();
std::vector<Check> threadChecks();
std::vector<Check> realtimeChecks();
std::vector<Check> floatModeChecks();
std::vector<Check> quirkChecks();
std::vector<Check> editorChecks();
std::vector<Check> constructChecks();
std::vector<Check> latencyChecks();
std::vector<Check> unloadChecks();
std::vector<Check> connectionChecks();
std::vector<Check> resumeChecks();

// Runs every check, printing one line each and the totals; answers the number of failures.
int runAll(Context& context, std::FILE* out);

// The hidden worker of the checks that run in a child process (`validate-worker PART ...`): runs the
// part (loading the library for it unless the part loads it itself), prints its verdict line, answers
// the exit status.
int runWorkerPart(const std::string& part, Context& context);

// The hidden worker of the chunk check: sets chunks of sizes first..last (bank or program) and
// processes after each, printing "ok SIZE" once each size is through. Answers the exit status.
int runChunkWorker(const std::string& pluginPath, bool bank, int first, int last, std::uint64_t seed);

}  // namespace validate
