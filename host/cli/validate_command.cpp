// zelmor-host validate: runs the validator's checks on any plug-in, and the hidden worker they spawn.
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "host/cli/commands.h"
#include "host/cli/editor_window.h"
#include "host/cli/system.h"
#include "host/validate/validation.h"

namespace {

constexpr std::uint64_t kDefaultSeed = 2400;
constexpr int kInterruptedStatus = 130;

// The host's editor window, as the validator's checks see it.
class ValidationWindow : public validate::ParentWindow {
public:
    ValidationWindow(int width, int height) : window("zelmor-host validate", width, height) {}
    void* nativeHandle() const override { return window.nativeHandle(); }
    std::intptr_t openValue() const override { return window.openValue(); }
    void run(const std::function<bool()>& tick) override { window.run(tick); }

private:
    EditorWindow window;
};

std::unique_ptr<validate::ParentWindow> makeWindow(int width, int height, std::string& reason) {
    try {
        return std::make_unique<ValidationWindow>(width, height);
    } catch (const std::runtime_error& failure) {
        reason = failure.what();
        return nullptr;
    }
}

std::uint64_t parseSeed(const std::string& text) {
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || text[0] == '-' || end == nullptr || *end != '\0') {
        throw UsageError("--seed: '" + text + "' is not a whole number");
    }
    return value;
}

}  // namespace

int runValidate(const Options& options) {
    if (options.paths.size() != 1) {
        throw UsageError("validate needs exactly one argument: PLUGIN");
    }
    validate::Context context;
    context.pluginPath = options.paths[0];
    context.quick = options.quick;
    context.seed = options.seed ? parseSeed(*options.seed) : kDefaultSeed;
    context.workerSeconds = options.workerSeconds;
    // Ctrl+C ends the run at once, with the worker it is waiting for: a plug-in may not return to us.
    endOnInterrupt(kInterruptedStatus);
    std::string error;
    auto library = PluginLibrary::open(context.pluginPath, error);
    if (!library) {
        throw std::runtime_error(error);
    }
    context.library = library.get();
    context.runWorker = [seconds = context.workerSeconds](const std::vector<std::string>& arguments) {
        validate::WorkerRun run;
        ChildResult child = runSelf(arguments, seconds);
        run.started = child.started;
        run.exited = child.exited;
        run.timedOut = child.timedOut;
        run.status = child.status;
        run.output = child.output;
        return run;
    };
    context.makeWindow = makeWindow;
    std::printf("validating %s with seed %llu%s\n", context.pluginPath.c_str(),
                static_cast<unsigned long long>(context.seed), context.quick ? ", quick" : "");
    std::fflush(stdout);
    return validate::runAll(context, stdout) == 0 ? 0 : 1;
}

int runChunkWorker(const Options& options) {
    if (options.paths.size() != 5) {
        throw UsageError("validate-chunk-worker needs PLUGIN bank|program FIRST LAST SEED");
    }
    crashQuietly();
    return validate::runChunkWorker(options.paths[0], options.paths[1] == "bank", std::atoi(options.paths[2].c_str()),
                                    std::atoi(options.paths[3].c_str()), parseSeed(options.paths[4]));
}

int runCheckWorker(const Options& options) {
    if (options.paths.size() != 4) {
        throw UsageError("validate-worker needs PART PLUGIN SEED quick|full");
    }
    crashQuietly();
    // The worker loads the library for the part, except for parts that load and unload it on purpose.
    validate::Context context;
    context.pluginPath = options.paths[1];
    context.seed = parseSeed(options.paths[2]);
    context.quick = options.paths[3] == "quick";
    context.makeWindow = makeWindow;
    return validate::runWorkerPart(options.paths[0], context);
}
