// A plug-in's editor whose display connection dies (the server resets, or a tool kills the client)
// must not take the host with it: Xlib's default reaction to a lost connection ends the process.
// In a worker process; where there is no such connection (Windows), skipped.
#include "host/validate/own_display.h"
#include "host/validate/worker.h"

namespace validate {
namespace {

struct EditorRect {
    std::int16_t top, left, bottom, right;
};

int idleFor(ParentWindow& window, HostedEffect& effect, int ticks) {
    int idles = 0;
    window.run([&]() {
        effect.dispatch(effEditIdle);
        return ++idles < ticks;
    });
    return idles;
}

}  // namespace

Outcome lostConnectionPart(Context& context) {
    auto effect = makeEffect(context);
    EditorRect* rect = nullptr;
    if ((effect->record()->flags & effFlagsHasEditor) == 0) {
        return skipped("the plug-in has no editor (effFlagsHasEditor is clear)");
    }
    if (effect->dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr) {
        return failed("effEditGetRect gave no rectangle");
    }
    std::string reason;
    auto window =
        context.makeWindow ? context.makeWindow(rect->right - rect->left, rect->bottom - rect->top, reason) : nullptr;
    if (!window) {
        return skipped("no window to open the editor in: " + reason);
    }
    workerStage("editor open");
    if (effect->dispatch(effEditOpen, 0, window->openValue(), window->nativeHandle()) == 0) {
        return failed("effEditOpen refused the window");
    }
    idleFor(*window, *effect, 3);
    reason = killEditorClient(*window);
    if (!reason.empty()) {
        effect->dispatch(effEditClose);
        return skipped(reason);
    }
    workerStage("idling after the editor's connection was killed");
    const int idles = idleFor(*window, *effect, context.quick ? 10 : 60);
    workerStage("closing the editor whose connection was killed");
    effect->dispatch(effEditClose);
    window->run([]() { return false; });
    workerStage("opening the editor again");
    const std::intptr_t reopened = effect->dispatch(effEditOpen, 0, window->openValue(), window->nativeHandle());
    idleFor(*window, *effect, 3);
    effect->dispatch(effEditClose);
    window->run([]() { return false; });
    return passed("editor's X client killed from the host's connection, then " + std::to_string(idles) +
                  " idles, closed, opened again (" + (reopened != 0 ? "shown" : "refused") +
                  ") and closed: the process survived");
}

std::vector<Check> connectionChecks() {
    return {{"lost-connection", [](Context& context) { return runInWorker(context, "lost-connection"); }}};
}

}  // namespace validate
