// Hosts make and close instances on any thread while editors of other instances open, idle and close on
// threads of their own (one widely used Linux host idles editors on a thread of its own while it
// makes plug-ins on its main thread): nothing may crash, race or leave a wrong picture.
// GoogleTest first: the X headers define None, Bool and Status as macros.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <atomic>
#include <thread>
#include <vector>

#include "tests/x11/x11_host.h"

namespace x11test {
namespace {

constexpr int kEditorCycles = 10;
constexpr int kIdlesPerCycle = 8;
constexpr int kInstancesPerMaker = 60;

::Window makeParent(Display* display, int x) {
    const int screen = DefaultScreen(display);
    ::Window window = XCreateSimpleWindow(display, RootWindow(display, screen), x, 10, kWidth, kHeight, 0,
                                          BlackPixel(display, screen), WhitePixel(display, screen));
    XMapWindow(display, window);
    XSync(display, False);
    return window;
}

// One instance's editor opened, idled while its parameters change and closed, again and again, all on
// the calling thread; answers how many opens succeeded.
int cycleAnEditor(const PluginLibrary& library, ::Window parent) {
    std::string error;
    auto effect = HostedEffect::create(library, error);
    if (!effect) {
        return 0;
    }
    int opened = 0;
    auto* window = reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent));
    for (int cycle = 0; cycle < kEditorCycles; ++cycle) {
        if (effect->dispatch(effEditOpen, 0, 0, window) == 0) {
            continue;
        }
        ++opened;
        for (int idle = 0; idle < kIdlesPerCycle; ++idle) {
            effect->setParameter(idle % 3, static_cast<float>(idle) / kIdlesPerCycle);
            effect->dispatch(effEditIdle);
        }
        effect->dispatch(effEditClose);
    }
    return opened;
}

void makeAndCloseInstances(const PluginLibrary& library) {
    for (int n = 0; n < kInstancesPerMaker; ++n) {
        std::string error;
        auto effect = HostedEffect::create(library, error);
        void* rect = nullptr;
        if (effect) {
            effect->dispatch(effEditGetRect, 0, 0, &rect);
        }
    }
}

TEST(X11Concurrency, EditorsOnTwoThreadsWhileTwoOthersMakeAndCloseInstances) {
    Display* display = hostDisplay();
    if (display == nullptr) {
        GTEST_SKIP() << "no X display";
    }
    std::string error;
    auto library = PluginLibrary::open(ZELMOR_PLUGIN, error);
    ASSERT_TRUE(library) << error;
    const ::Window first = makeParent(display, 10);
    const ::Window second = makeParent(display, 420);

    std::atomic<int> opened{0};
    std::vector<std::thread> threads;
    threads.emplace_back([&] { opened += cycleAnEditor(*library, first); });
    threads.emplace_back([&] { opened += cycleAnEditor(*library, second); });
    threads.emplace_back([&] { makeAndCloseInstances(*library); });
    threads.emplace_back([&] { makeAndCloseInstances(*library); });
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(opened.load(), 2 * kEditorCycles);

    // Afterwards an editor still opens and draws its panel.
    X11Host host;
    ASSERT_NE(host.open(), 0);
    EXPECT_TRUE(host.idleUntil([&] { return !host.shownPixels().empty() && host.shownPixels()[0] != 0xFFFFFF; }));
    host.close();
    XDestroyWindow(display, first);
    XDestroyWindow(display, second);
    XSync(display, False);
}

}  // namespace
}  // namespace x11test
