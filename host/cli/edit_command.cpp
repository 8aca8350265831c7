// zelmor-host edit: the plug-in's editor in a window of its own, the effect running on silence meanwhile.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <exception>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "editor/aeff_editor.h"
#include "host/cli/commands.h"
#include "host/cli/editor_window.h"
#include "host/cli/effect_session.h"
#include "host/cli/png_file.h"

namespace {

constexpr double kSampleRate = 44100.0;
constexpr int kBlockFrames = 512;
// Idle calls, each after the window's events, before the editor's first paint is taken as done.
constexpr int kIdlesBeforePicture = 3;

std::string trimmed(const std::string& text) {
    const char* const space = " \t\r\n";
    std::size_t first = text.find_first_not_of(space);
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

std::string fileName(const std::string& path) {
    std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string windowTitle(HostedEffect& effect, const std::string& path) {
    for (std::int32_t opcode : {effGetEffectName, effGetProductString}) {
        std::string name = trimmed(effect.text(opcode));
        if (!name.empty()) {
            return name;
        }
    }
    std::string vendor = trimmed(effect.text(effGetVendorString));
    return vendor.empty() ? fileName(path) : vendor + " - " + fileName(path);
}

// Answers the plug-in as a host that shows each parameter change the editor makes, in the plug-in's
// own words. The changes arrive on the editor's thread, in the middle of its idle call or of a mouse
// gesture, where asking the plug-in for the parameter's texts is allowed.
class ChangePrinter {
public:
    void attach(HostedEffect* hosted) { effect.store(hosted); }

    std::intptr_t answer(const HostCall& call) {
        switch (call.opcode) {
            case audioMasterAutomate:
                print(describe(call.index, call.opt));
                return 0;
            case audioMasterBeginEdit:
                print("begin " + name(call.index));
                return 0;
            case audioMasterEndEdit:
                print("end " + name(call.index));
                return 0;
            case audioMasterIdle:
                // The edit loop idles the editor itself and has nothing else waiting.
                return 0;
            case audioMasterGetSampleRate:
                return static_cast<std::intptr_t>(kSampleRate);
            case audioMasterGetBlockSize:
                return kBlockFrames;
            default:
                return defaultHostAnswer(call);
        }
    }

private:
    bool known(std::int32_t index) const {
        HostedEffect* hosted = effect.load();
        return hosted != nullptr && index >= 0 && index < hosted->record()->numParams;
    }

    std::string name(std::int32_t index) {
        std::string text = known(index) ? trimmed(effect.load()->text(effGetParamName, index)) : "";
        return text.empty() ? "parameter " + std::to_string(index) : text;
    }

    std::string describe(std::int32_t index, float value) {
        std::string line = name(index) + " =";
        if (known(index)) {
            std::string display = trimmed(effect.load()->text(effGetParamDisplay, index));
            std::string label = trimmed(effect.load()->text(effGetParamLabel, index));
            if (!display.empty()) {
                line += " " + display;
            }
            // Some plug-ins put the unit into the display text already.
            bool labelShown = display.size() >= label.size() &&
                              display.compare(display.size() - label.size(), label.size(), label) == 0;
            if (!label.empty() && !labelShown) {
                line += " " + label;
            }
        }
        char normalised[32];
        std::snprintf(normalised, sizeof normalised, " (%.4f)", static_cast<double>(value));
        return line + normalised;
    }

    // The texts are asked for before taking the lock: the plug-in may call back while answering.
    void print(const std::string& line) {
        std::lock_guard<std::mutex> lock(output);
        std::fputs((line + "\n").c_str(), stdout);
        std::fflush(stdout);
    }

    std::atomic<HostedEffect*> effect{nullptr};
    std::mutex output;
};

// Runs the effect on silence, in stereo blocks paced as a sound card would ask for them, until stopped.
class SilentAudio {
public:
    explicit SilentAudio(HostedEffect& hosted) : effect(hosted), worker([this] { run(); }) {}
    ~SilentAudio() { stop(); }
    SilentAudio(const SilentAudio&) = delete;
    SilentAudio& operator=(const SilentAudio&) = delete;

    void stop() {
        running.store(false);
        if (worker.joinable()) {
            worker.join();
        }
    }

private:
    void run() {
        const auto frames = static_cast<std::size_t>(kBlockFrames);
        std::vector<float> input(2 * frames), output(2 * frames);
        float* inputs[2] = {input.data(), input.data() + frames};
        float* outputs[2] = {output.data(), output.data() + frames};
        using Clock = std::chrono::steady_clock;
        const auto period =
            std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(kBlockFrames / kSampleRate));
        auto due = Clock::now();
        while (running.load()) {
            // A plug-in may write into its inputs; each block starts from silence again.
            std::fill(input.begin(), input.end(), 0.0f);
            effect.processReplacing(inputs, outputs, kBlockFrames);
            due += period;
            // After a stall (a suspended machine, a debugger) the blocks go on from now, not in a burst.
            if (Clock::now() > due + 4 * period) {
                due = Clock::now();
            }
            std::this_thread::sleep_until(due);
        }
    }

    HostedEffect& effect;
    std::atomic<bool> running{true};
    std::thread worker;  // last, so that it starts once the rest is in place
};

// The editor open in the window; closing it stops the audio first, as the window's end comes next.
class OpenEditor {
public:
    OpenEditor(HostedEffect& hosted, EditorWindow& window, SilentAudio& silentAudio)
        : effect(hosted), audio(silentAudio) {
        if (effect.dispatch(effEditOpen, 0, window.openValue(), window.nativeHandle()) == 0) {
            throw std::runtime_error("the plug-in could not open its editor in the host's window");
        }
    }
    ~OpenEditor() {
        audio.stop();
        effect.dispatch(effEditClose);
    }
    OpenEditor(const OpenEditor&) = delete;
    OpenEditor& operator=(const OpenEditor&) = delete;

private:
    HostedEffect& effect;
    SilentAudio& audio;
};

}  // namespace

int runEdit(const Options& options) {
    if (options.paths.size() != 1) {
        throw UsageError("edit needs exactly one argument: PLUGIN");
    }
    const std::string& path = options.paths[0];
    EffectSession session(path);
    ChangePrinter printer;
    auto effect = session.makeEffect(options.settings, kSampleRate, kBlockFrames,
                                     [&printer](const HostCall& call) { return printer.answer(call); });
    printer.attach(effect.get());
    if ((effect->record()->flags & effFlagsHasEditor) == 0) {
        throw std::runtime_error("'" + path + "' has no editor");
    }
    ERect* rect = nullptr;
    if (effect->dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr || rect->right <= rect->left ||
        rect->bottom <= rect->top) {
        throw std::runtime_error("'" + path + "' gives no size for its editor");
    }
    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;

    std::optional<WindowPixels> picture;
    {
        EditorWindow window(windowTitle(*effect, path), width, height);
        SilentAudio audio(*effect);
        OpenEditor editor(*effect, window, audio);
        int idles = 0;
        std::exception_ptr failure;
        // Nothing may be thrown through the platform's event dispatch: failures wait for the loop's end.
        bool closed = window.run([&]() {
            try {
                checkInterrupted();
                effect->dispatch(effEditIdle);
                // The effect keeps a record of every call to the host, which nothing here reads.
                effect->clearCalls();
            } catch (...) {
                failure = std::current_exception();
                return false;
            }
            return !options.screenshotPath || ++idles < kIdlesBeforePicture;
        });
        if (failure) {
            std::rethrow_exception(failure);
        }
        if (options.screenshotPath) {
            if (closed) {
                throw std::runtime_error("the editor's window was closed before its picture was taken");
            }
            picture = window.pixels();
        }
    }
    effect->suspend();
    if (picture) {
        writePngFile(*options.screenshotPath, picture->width, picture->height, picture->rgb);
        std::printf("Saved the editor's window to %s (%d x %d)\n", options.screenshotPath->c_str(), picture->width,
                    picture->height);
    }
    return 0;
}
