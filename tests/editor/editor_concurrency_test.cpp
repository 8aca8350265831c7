// Parameter changes from other threads while the editor opens, idles and closes: run under
// ThreadSanitizer, no view may be touched from the automating thread.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "tests/editor/editor_cycles.h"

namespace editortest {

void runCycles(EditorHost& host, int cycles) {
    std::atomic<bool> running{true};
    std::thread audio([&] {
        std::vector<float> left(64, 0.25f);
        std::vector<float> right(64, -0.25f);
        float* channels[2] = {left.data(), right.data()};
        while (running.load()) {
            host.effect().processReplacing(channels, channels, 64);
        }
    });
    std::thread automation([&] {
        float value = 0.0f;
        while (running.load()) {
            for (std::int32_t index = 0; index < 3; ++index) {
                host.effect().setParameter(index, value);
            }
            value = value >= 1.0f ? 0.0f : value + 0.0625f;
        }
    });
    for (int cycle = 0; cycle < cycles; ++cycle) {
        if (host.open() != 1) {
            ADD_FAILURE() << "open " << cycle;
            break;
        }
        host.idle();
        host.idle();
        host.close();
    }
    running.store(false);
    audio.join();
    automation.join();
}

Resources resourcesOf(const EditorHost& host) {
    return Resources{host.countsGdiObjects(), host.liveGdiObjects(), host.liveWindows()};
}

void expectSameResources(const Resources& before, const Resources& after) {
    if (before.gdiCounted) {
        EXPECT_EQ(after.gdiObjects, before.gdiObjects) << "GDI objects and device contexts";
    }
    EXPECT_EQ(after.windows, before.windows) << "windows";
}

namespace {

TEST(EditorConcurrency, AutomationOnAnotherThreadWhileTheEditorOpensIdlesAndCloses) {
    EditorHost host;
    const Resources before = resourcesOf(host);
    runCycles(host, 200);
    expectSameResources(before, resourcesOf(host));
    // The controls follow the last values once the editor idles again.
    host.effect().setParameter(0, 1.0f);
    ASSERT_EQ(host.open(), 1);
    host.idle();
    EXPECT_EQ(host.effect().getParameter(0), 1.0f);
}

TEST(EditorConcurrency, KeysFromAnotherThreadReachTheEditBoxAtTheEditorsIdle) {
    EditorHost host;
    ASSERT_EQ(host.open(), 1);
    host.idle();
    EXPECT_EQ(std::async(std::launch::async, [&] { return host.effect().dispatch(effEditKeyDown, '5'); }).get(), 0)
        << "no box open: the host keeps the key";
    host.click(44, 513);  // the lower display opens its box
    host.idle();
    host.effect().clearCalls();
    const float before = host.effect().getParameter(0);
    std::intptr_t taken = 0;
    // A host's key thread: the digits while the editor's thread waits, then Enter while it idles.
    std::thread([&] {
        for (int character : {'5', '0', '0'}) {
            taken += host.effect().dispatch(effEditKeyDown, character);
        }
    }).join();
    EXPECT_EQ(taken, 3);
    EXPECT_EQ(host.effect().getParameter(0), before) << "nothing is applied on the key thread";
    std::atomic<bool> sent{false};
    std::thread enter([&] {
        taken += host.effect().dispatch(effEditKeyDown, 0, 19);
        sent.store(true);
    });
    while (!sent.load()) {
        host.idle();
    }
    enter.join();
    EXPECT_EQ(taken, 4);
    host.idle();
    bool automated = false;
    for (const HostCall& call : host.effect().calls()) {
        automated = automated || call.opcode == audioMasterAutomate;
    }
    EXPECT_TRUE(automated);
    EXPECT_EQ(host.effect().text(effGetParamDisplay, 0), "500 Hz");
}

}  // namespace
}  // namespace editortest
