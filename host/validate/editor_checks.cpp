// The editor: a sane rectangle before opening, and many open/idle/close cycles with audio and automation
// running beside them, after which the system's resources are back where they were.
#include <atomic>
#include <thread>

#include "host/validate/desktop_resources.h"
#include "host/validate/playback.h"
#include "host/validate/validation.h"

namespace validate {
namespace {

struct EditorRect {
    std::int16_t top, left, bottom, right;
};
constexpr int kLargestSide = 4096;
constexpr int kCyclesPerTick = 25;

std::string describe(const ResourceCounts& counts) {
    std::string text;
    for (const auto& [name, count] : counts) {
        text += (text.empty() ? "" : ", ") + std::to_string(count) + " " + name;
    }
    return text;
}

Outcome editorCycles(Context& context) {
    auto effect = makeEffect(context, 48000.0, 256);
    const AEffect& record = *effect->record();
    if ((record.flags & effFlagsHasEditor) == 0) {
        return skipped("the plug-in has no editor (effFlagsHasEditor is clear)");
    }
    EditorRect* rect = nullptr;
    if (effect->dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr) {
        return failed("effEditGetRect before effEditOpen gave no rectangle");
    }
    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) {
        return failed("the rectangle before opening is " + size + " pixels, not within 1 to 4096");
    }
    std::string reason;
    auto window = context.makeWindow ? context.makeWindow(width, height, reason) : nullptr;
    if (!window) {
        return skipped("rectangle " + size + "; no window to open the editor in: " + reason);
    }
    // A first editor may load what every later one shares (fonts, caches): the baseline comes after it.
    effect->dispatch(effEditOpen, 0, window->openValue(), window->nativeHandle());
    window->run([&]() {
        effect->dispatch(effEditIdle);
        return false;
    });
    // What an open editor holds shows that the counts see anything at all on this system.
    const ResourceCounts open = countResources(*window);
    effect->dispatch(effEditClose);
    window->run([]() { return false; });
    const ResourceCounts baseline = countResources(*window);

    // The audio thread only processes; the automation thread only sets parameters.
    std::atomic<bool> running{true};
    Tally tally;
    std::thread audio([&]() {
        Channels inputs = inputsFor(record, 256);
        Channels outputs = outputsFor(record, 256);
        Random noise(context.seed ^ 0x6564ull);
        while (running.load()) {
            inputs.fillNoise(noise, kNoisePeak);
            outputs.fillGarbage();
            effect->processReplacing(inputs.pointers(), outputs.pointers(), 256);
            tally.add(outputs, 256);
        }
    });
    std::thread automation([&]() {
        Random random(context.seed ^ 0x6175746Full);
        while (running.load() && record.numParams > 0) {
            effect->setParameter(random.below(record.numParams), static_cast<float>(random.uniform()));
            std::this_thread::yield();
        }
    });
    const int cycles = context.quick ? 100 : 1000;
    int done = 0;
    int refused = 0;
    window->run([&]() {
        for (int i = 0; i < kCyclesPerTick && done < cycles; ++i, ++done) {
            if (effect->dispatch(effEditOpen, 0, window->openValue(), window->nativeHandle()) == 0) {
                ++refused;
            }
            effect->dispatch(effEditIdle);
            effect->dispatch(effEditIdle);
            effect->dispatch(effEditClose);
            effect->clearCalls();
        }
        return done < cycles;
    });
    // Opened twice without a close between, which a careless host does.
    effect->dispatch(effEditOpen, 0, window->openValue(), window->nativeHandle());
    effect->dispatch(effEditOpen, 0, window->openValue(), window->nativeHandle());
    effect->dispatch(effEditIdle);
    effect->dispatch(effEditClose);
    running = false;
    audio.join();
    automation.join();
    window->run([]() { return false; });
    const ResourceCounts after = countResources(*window);
    std::string figures = "rectangle " + size + "; " + std::to_string(done) + " open/idle/close cycles with audio " +
                          "and automation running, then opened twice; open " + describe(open) + "; closed before " +
                          describe(baseline) + ", after " + describe(after);
    if (refused > 0) {
        return failed(figures + "; effEditOpen refused " + std::to_string(refused) + " times");
    }
    if (!tally.finite()) {
        return failed(figures + "; the audio was not finite");
    }
    for (std::size_t i = 0; i < baseline.size(); ++i) {
        if (after[i].second > baseline[i].second) {
            return failed(figures + "; " + std::to_string(after[i].second - baseline[i].second) + " " + after[i].first +
                          " not given back");
        }
    }
    return passed(figures);
}

}  // namespace

std::vector<Check> editorChecks() {
    return {{"editor", editorCycles}};
}

}  // namespace validate
