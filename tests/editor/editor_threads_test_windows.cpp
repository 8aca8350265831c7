// Hosts make and close instances on any thread while editors of other instances open, idle and close on
// threads of their own, each thread with its own windows and message loop: nothing may crash, race or
// leave a wrong picture.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "tests/conformance/support.h"
#include "tests/editor/editor_host.h"
#include "tests/editor/thread_cycles.h"

namespace editortest {
namespace {

// The parent belongs to the editor's thread, as a host's editor window does: its messages, and those of
// the editor's window inside it, reach that thread's loop only.
int cycleOnAThreadOfItsOwn(const PluginLibrary& library, int x) {
    HWND parent = CreateWindowExA(0, "STATIC", "Host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, 30, kWidth, kHeight,
                                  nullptr, nullptr, nullptr, nullptr);
    if (parent == nullptr) {
        return 0;
    }
    const int opened = threadcycles::cycleAnEditor(library, parent, [] { conformance::pumpMessages(); });
    DestroyWindow(parent);
    conformance::pumpMessages();
    return opened;
}

TEST(EditorThreads, EditorsOnTwoThreadsWhileTwoOthersMakeAndCloseInstances) {
    std::string error;
    auto library = PluginLibrary::open(ZELMOR_EDITOR_PLUGIN, error);
    ASSERT_TRUE(library) << error;

    std::atomic<int> opened{0};
    std::vector<std::thread> threads;
    threads.emplace_back([&] { opened += cycleOnAThreadOfItsOwn(*library, 10); });
    threads.emplace_back([&] { opened += cycleOnAThreadOfItsOwn(*library, 420); });
    threads.emplace_back([&] { threadcycles::makeAndCloseInstances(*library); });
    threads.emplace_back([&] { threadcycles::makeAndCloseInstances(*library); });
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(opened.load(), 2 * threadcycles::kEditorCycles);

    // Afterwards an editor still opens on this thread and draws its panel over the host's white.
    EditorHost host;
    ASSERT_NE(host.open(), 0);
    const std::vector<std::uint32_t> pixels = host.pixels();
    ASSERT_FALSE(pixels.empty());
    EXPECT_NE(pixels[0], 0xFFFFFFu);
    host.close();
}

}  // namespace
}  // namespace editortest
