// Instances made and closed on several threads at once, also beside an open editor, in a worker
// process: hosts scan and load plug-ins on threads of their own while a project plays and shows.
#include <atomic>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "host/validate/worker.h"

namespace validate {
namespace {

struct EditorRect {
    std::int16_t top, left, bottom, right;
};

// Holds each thread back until all of them have started: thread start-up takes as long as many
// constructions, so a thread let go at once may be done before the other one begins.
class StartLine {
public:
    explicit StartLine(int threads) : waiting(threads) {}
    void arrive() {
        --waiting;
        while (waiting.load() > 0) {
            std::this_thread::yield();
        }
    }

private:
    std::atomic<int> waiting;
};

// As many threads as a host that scans and loads on a few threads of its own beside its main one.
constexpr int kThreads = 4;

// Each thread makes its instances in batches, as a host loads a project, and closes a batch once it
// is complete: the other thread's constructions then meet instances being made and closed, several
// at a time, rather than a plug-in that each close has just left as it was.
constexpr std::size_t kBatch = 8;

// Makes and closes count instances; answers how many the plug-in refused.
int makeAndClose(const PluginLibrary& library, int count, StartLine* start = nullptr) {
    if (start != nullptr) {
        start->arrive();
    }
    int refused = 0;
    std::vector<std::unique_ptr<HostedEffect>> open;
    for (int i = 0; i < count; ++i) {
        std::string error;
        auto effect = HostedEffect::create(library, error);
        if (!effect) {
            ++refused;
            continue;
        }
        effect->dispatch(effOpen);
        open.push_back(std::move(effect));
        if (open.size() == kBatch) {
            open.clear();
        }
    }
    return refused;
}

}  // namespace

Outcome constructThreadsPart(Context& context) {
    // Enough that the threads' constructions and closes meet many times over even on a busy machine,
    // where threads run side by side only now and then; the quick run still takes only a second with a
    // plug-in that needs a quarter of a millisecond per instance.
    const int count = context.quick ? 1000 : 10000;
    workerStage(std::to_string(kThreads) + " threads making and closing instances");
    std::atomic<int> refused{0};
    StartLine start(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&]() { refused += makeAndClose(*context.library, count, &start); });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    std::string figures =
        std::to_string(kThreads) + " threads made and closed " + std::to_string(count) + " instances each";

    auto effect = makeEffect(context);
    EditorRect* rect = nullptr;
    std::string reason;
    std::unique_ptr<ParentWindow> window;
    if ((effect->record()->flags & effFlagsHasEditor) == 0) {
        reason = "the plug-in has no editor";
    } else if (effect->dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr) {
        reason = "effEditGetRect gave no rectangle";
    } else if (context.makeWindow) {
        window = context.makeWindow(rect->right - rect->left, rect->bottom - rect->top, reason);
    }
    if (!window) {
        figures += "; no editor beside them (" + reason + ")";
    } else {
        workerStage("an editor idling on one thread while another makes and closes instances");
        effect->dispatch(effEditOpen, 0, window->openValue(), window->nativeHandle());
        std::atomic<bool> done{false};
        std::thread maker([&]() {
            refused += makeAndClose(*context.library, count);
            done = true;
        });
        int idles = 0;
        window->run([&]() {
            effect->dispatch(effEditIdle);
            ++idles;
            return !done.load();
        });
        maker.join();
        effect->dispatch(effEditClose);
        window->run([]() { return false; });
        figures +=
            "; " + std::to_string(count) + " more beside an open editor given " + std::to_string(idles) + " idles";
    }
    if (refused > 0) {
        return failed(figures + "; the entry point refused " + std::to_string(refused.load()) + " of them");
    }
    return passed(figures);
}

std::vector<Check> constructChecks() {
    return {{"construct-threads", [](Context& context) { return runInWorker(context, "construct-threads"); }}};
}

}  // namespace validate
