// Running a check's part in a worker process, and the worker's side: stages and the verdict line.
#include "host/validate/worker.h"

#include <cstdio>
#include <exception>
#include <sstream>

namespace validate {
namespace {

struct Part {
    const char* name;
    Outcome (*run)(Context& context);
    bool loadsTheLibrary;  // the part loads (and unloads) the library itself
};

const Part kParts[] = {{"construct-threads", constructThreadsPart, false},
                       {"parameter-latency", parameterLatencyPart, false},
                       {"unload", unloadPart, true},
                       {"lost-connection", lostConnectionPart, false}};

Outcome runPart(const Part& part, Context& context) {
    if (part.loadsTheLibrary) {
        return part.run(context);
    }
    std::string error;
    auto library = PluginLibrary::open(context.pluginPath, error);
    if (!library) {
        return failed(error);
    }
    context.library = library.get();
    Outcome outcome = part.run(context);
    context.library = nullptr;
    return outcome;
}

const char* const kWords[] = {"PASS", "FAIL", "SKIP", "WARN"};
const Verdict kVerdicts[] = {Verdict::pass, Verdict::fail, Verdict::skip, Verdict::warn};

}  // namespace

Outcome runInWorker(Context& context, const char* part) {
    if (!context.runWorker) {
        return skipped("no worker processes in this run");
    }
    const WorkerRun run = context.runWorker(
        {"validate-worker", part, context.pluginPath, std::to_string(context.seed), context.quick ? "quick" : "full"});
    std::istringstream lines(run.output);
    std::string line;
    std::string stage;
    bool answered = false;
    Outcome outcome;
    while (std::getline(lines, line)) {
        if (line.rfind("stage ", 0) == 0) {
            stage = line.substr(6);
            continue;
        }
        for (std::size_t i = 0; i < sizeof kWords / sizeof kWords[0]; ++i) {
            const std::string word = std::string(kWords[i]) + " ";
            if (line.rfind(word, 0) == 0) {
                outcome = {kVerdicts[i], line.substr(word.size())};
                answered = true;
            }
        }
    }
    if (answered && run.exited && run.status == 0) {
        return outcome;
    }
    return failed("the worker " + describeEnd(run, context.workerSeconds) +
                  (stage.empty() ? std::string() : " during: " + stage) +
                  (answered ? "; it had answered: " + outcome.figures : std::string()));
}

void workerStage(const std::string& what) {
    std::printf("stage %s\n", what.c_str());
    std::fflush(stdout);
}

int runWorkerPart(const std::string& name, Context& context) {
    for (const Part& part : kParts) {
        if (name == part.name) {
            Outcome outcome;
            try {
                outcome = runPart(part, context);
            } catch (const std::exception& error) {
                outcome = failed(std::string("stopped: ") + error.what());
            }
            std::printf("%s %s\n", kWords[static_cast<int>(outcome.verdict)], outcome.figures.c_str());
            std::fflush(stdout);
            return 0;
        }
    }
    std::fprintf(stderr, "no worker part '%s'\n", name.c_str());
    return 2;
}

}  // namespace validate
