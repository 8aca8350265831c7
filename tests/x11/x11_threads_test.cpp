// Hosts make and close instances on any thread while editors of other instances open, idle and close on
// threads of their own (one widely used Linux host idles editors on a thread of its own while it
// makes plug-ins on its main thread): nothing may crash, race or leave a wrong picture.
// GoogleTest first: the X headers define None, Bool and Status as macros.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <atomic>
#include <thread>
#include <vector>

#include "tests/editor/thread_cycles.h"
#include "tests/x11/x11_host.h"

namespace x11test {
namespace {

::Window makeParent(Display* display, int x) {
    const int screen = DefaultScreen(display);
    ::Window window = XCreateSimpleWindow(display, RootWindow(display, screen), x, 10, kWidth, kHeight, 0,
                                          BlackPixel(display, screen), WhitePixel(display, screen));
    XMapWindow(display, window);
    XSync(display, False);
    return window;
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
    // The host's X window id travels in the pointer argument; the editor reads its own connection at
    // each idle, so there is nothing to pump.
    auto cycle = [&](::Window parent) {
        return threadcycles::cycleAnEditor(*library, reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent)),
                                           [] {});
    };
    threads.emplace_back([&] { opened += cycle(first); });
    threads.emplace_back([&] { opened += cycle(second); });
    threads.emplace_back([&] { threadcycles::makeAndCloseInstances(*library); });
    threads.emplace_back([&] { threadcycles::makeAndCloseInstances(*library); });
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(opened.load(), 2 * threadcycles::kEditorCycles);

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
