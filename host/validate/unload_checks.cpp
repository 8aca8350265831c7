// Loading and unloading the library as hosts do when they rescan or close a project: twice in a row,
// and two copies from two folders at once, one unloaded while the other works on; afterwards the
// host's own X error handler must still be the one that gets its errors. In a worker process.
#include <chrono>
#include <filesystem>
#include <random>
#include <system_error>

#include "host/validate/own_display.h"
#include "host/validate/playback.h"
#include "host/validate/worker.h"

namespace validate {
namespace {

namespace fs = std::filesystem;

struct EditorRect {
    std::int16_t top, left, bottom, right;
};

// Plays a few blocks and opens, idles and closes the editor when there is one and a window for it;
// answers what was done.
std::string exercise(Context& context, const PluginLibrary& library) {
    Context own = context;
    own.library = &library;
    auto effect = makeEffect(own, 44100.0, 256);
    Channels inputs = inputsFor(*effect->record(), 256);
    Channels outputs = outputsFor(*effect->record(), 256);
    Random noise(context.seed);
    for (int b = 0; b < 4; ++b) {
        inputs.fillNoise(noise, kNoisePeak);
        effect->processReplacing(inputs.pointers(), outputs.pointers(), 256);
    }
    EditorRect* rect = nullptr;
    if ((effect->record()->flags & effFlagsHasEditor) == 0 || effect->dispatch(effEditGetRect, 0, 0, &rect) == 0 ||
        rect == nullptr || !context.makeWindow) {
        return "played";
    }
    std::string reason;
    auto window = context.makeWindow(rect->right - rect->left, rect->bottom - rect->top, reason);
    if (!window) {
        return "played";
    }
    effect->dispatch(effEditOpen, 0, window->openValue(), window->nativeHandle());
    int idles = 0;
    window->run([&]() {
        effect->dispatch(effEditIdle);
        return ++idles < 3;
    });
    effect->dispatch(effEditClose);
    window->run([]() { return false; });
    return "played and edited";
}

// A new folder in the system's temporary folder, under a name no other run uses.
fs::path newFolder() {
    std::random_device device;
    std::error_code error;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path folder = fs::temp_directory_path() / ("zelmor-validate-" + std::to_string(device()));
        if (fs::create_directory(folder, error)) {
            return folder;
        }
    }
    throw std::runtime_error("cannot make a temporary folder for copies of the library");
}

std::unique_ptr<PluginLibrary> load(const std::string& path) {
    std::string error;
    auto library = PluginLibrary::open(path, error);
    if (!library) {
        throw std::runtime_error(error);
    }
    return library;
}

}  // namespace

Outcome unloadPart(Context& context) {
    // As a host does before any plug-in loads.
    installOwnErrorHandler();
    std::string done;
    for (int round = 1; round <= 2; ++round) {
        workerStage("load, play, edit, close and unload, round " + std::to_string(round));
        auto library = load(context.pluginPath);
        done = exercise(context, *library);
    }
    std::string figures = "loaded, " + done + ", closed and unloaded twice";

    workerStage("two copies from two folders loaded together");
    const fs::path first = newFolder();
    const fs::path second = newFolder();
    const fs::path name = fs::path(context.pluginPath).filename();
    fs::copy_file(context.pluginPath, first / name);
    fs::copy_file(context.pluginPath, second / name);
    {
        auto one = load((first / name).string());
        auto other = load((second / name).string());
        exercise(context, *one);
        exercise(context, *other);
        workerStage("the first copy unloaded, the second still at work");
        one.reset();
        exercise(context, *other);
    }
    std::error_code ignored;
    fs::remove_all(first, ignored);
    fs::remove_all(second, ignored);
    figures += "; two copies loaded together, one unloaded, the other " + done;

    workerStage("an X error on a connection of the host's own after the unloads");
    const ErrorProbe probe = probeOwnErrorHandler();
    if (!probe.made) {
        return passed(figures + "; no X error made (" + probe.reason + ")");
    }
    if (!probe.reached) {
        return failed(figures + "; an X error on the host's own connection did not reach the host's own handler");
    }
    return passed(figures + "; an X error on the host's own connection reached the host's own handler");
}

std::vector<Check> unloadChecks() {
    return {{"unload", [](Context& context) { return runInWorker(context, "unload"); }}};
}

}  // namespace validate
