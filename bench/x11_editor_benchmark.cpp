// Benchmarks of the Linux editor in a host's X11 window, through the built plug-in's record: an idle
// with nothing to show, a host change shown (redraw, finding the changed pixels, sending them), a
// whole window exposed again, and an idle while the host's window is hidden.
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "host/hosted_effect.h"
#include "host/plugin_library.h"

namespace {

// One connection for the whole run, as a host keeps its own.
Display* hostDisplay() {
    static Display* display = XOpenDisplay(nullptr);
    return display;
}

struct X11Editor {
    X11Editor() : display(hostDisplay()) {
        if (display == nullptr) {
            throw std::runtime_error("no X display: run under Xvfb (scripts/virtual-display.sh)");
        }
        std::string error;
        library = PluginLibrary::open(ZELMOR_PLUGIN_PATH, error);
        if (library) {
            effect = HostedEffect::create(*library, error);
        }
        if (!effect) {
            throw std::runtime_error(error);
        }
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 396, 550, 0, 0, 0);
        XSelectInput(display, window, StructureNotifyMask);
        XMapWindow(display, window);
        for (XEvent event{}; event.type != MapNotify;) {
            XWindowEvent(display, window, StructureNotifyMask, &event);
        }
        effect->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<std::uintptr_t>(window)));
        for (int i = 0; i < 10; ++i) {
            idle();
        }
    }
    ~X11Editor() {
        effect->dispatch(effEditClose);
        effect.reset();
        XDestroyWindow(display, window);
        XSync(display, False);
    }
    X11Editor(const X11Editor&) = delete;
    X11Editor& operator=(const X11Editor&) = delete;

    void idle() {
        effect->dispatch(effEditIdle);
        XSync(display, False);
    }
    ::Window editorWindow() const {
        ::Window root = 0, parent = 0, *children = nullptr, found = 0;
        unsigned int count = 0;
        if (XQueryTree(display, window, &root, &parent, &children, &count) != 0 && count > 0) {
            found = children[0];
        }
        XFree(children);
        return found;
    }

    Display* display;
    ::Window window = 0;
    std::unique_ptr<PluginLibrary> library;
    std::unique_ptr<HostedEffect> effect;
};

template <typename Body>
void run(benchmark::State& state, Body body) {
    try {
        X11Editor editor;
        body(state, editor);
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        for (auto _ : state) {
        }
    }
}

void BM_X11IdleWithNothingToShow(benchmark::State& state) {
    run(state, [](benchmark::State& s, X11Editor& editor) {
        for (auto _ : s) {
            editor.idle();
        }
    });
}
BENCHMARK(BM_X11IdleWithNothingToShow)->Unit(benchmark::kMicrosecond);

void BM_X11HostChangeShown(benchmark::State& state) {
    run(state, [](benchmark::State& s, X11Editor& editor) {
        bool high = false;
        for (auto _ : s) {
            high = !high;
            editor.effect->setParameter(0, high ? 0.8f : 0.2f);
            editor.idle();
        }
    });
}
BENCHMARK(BM_X11HostChangeShown)->Unit(benchmark::kMicrosecond);

void BM_X11WholeWindowExposed(benchmark::State& state) {
    run(state, [](benchmark::State& s, X11Editor& editor) {
        const ::Window shown = editor.editorWindow();
        for (auto _ : s) {
            XClearArea(editor.display, shown, 0, 0, 0, 0, True);
            XSync(editor.display, False);
            editor.idle();
        }
    });
}
BENCHMARK(BM_X11WholeWindowExposed)->Unit(benchmark::kMicrosecond);

void BM_X11HostChangeWhileHidden(benchmark::State& state) {
    run(state, [](benchmark::State& s, X11Editor& editor) {
        XUnmapWindow(editor.display, editor.window);
        editor.idle();
        bool high = false;
        for (auto _ : s) {
            high = !high;
            editor.effect->setParameter(0, high ? 0.8f : 0.2f);
            editor.idle();
        }
    });
}
BENCHMARK(BM_X11HostChangeWhileHidden)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
