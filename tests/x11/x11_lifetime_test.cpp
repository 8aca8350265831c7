// Many editors opened and closed inside X11 host windows while audio runs and parameters change, two at
// once, and a host window destroyed first: afterwards nothing of ours is left on the server or in the
// process.
// GoogleTest first: the X headers define None, Bool and Status as macros.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XRes.h>
#include <dirent.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/x11/x11_host.h"

namespace x11test {
namespace {

std::size_t openDescriptors() {
    std::size_t count = 0;
    if (DIR* directory = opendir("/proc/self/fd")) {
        while (readdir(directory) != nullptr) {
            ++count;
        }
        closedir(directory);
    }
    return count;
}

// Shared-memory segments this process created that still exist.
std::size_t ownSegments() {
    std::ifstream table("/proc/sysvipc/shm");
    std::string line;
    std::getline(table, line);  // the heading
    std::size_t count = 0;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        long key = 0, id = 0, permissions = 0, size = 0, creator = 0;
        fields >> key >> id >> permissions >> size >> creator;
        count += creator == static_cast<long>(getpid());
    }
    return count;
}

int serverClients() {
    int count = 0;
    XResClient* clients = nullptr;
    if (XResQueryClients(hostDisplay(), &count, &clients) == 0) {
        return -1;
    }
    XFree(clients);
    return count;
}

struct Held {
    std::size_t descriptors;
    std::size_t segments;
    int clients;
};

Held held() {
    XSync(hostDisplay(), False);
    return {openDescriptors(), ownSegments(), serverClients()};
}

// The first editor loads the X libraries, which keep what they open for the process: counts start after one.
Held heldAfterAFirstEditor() {
    {
        X11Host first;
        EXPECT_EQ(first.open(), 1);
    }
    return held();
}

void expectNothingLeft(const Held& before, X11Host* host = nullptr) {
    const Held after = held();
    EXPECT_EQ(after.descriptors, before.descriptors) << "file descriptors";
    EXPECT_EQ(after.segments, before.segments) << "shared-memory segments";
    EXPECT_EQ(after.clients, before.clients) << "connections to the X server (their windows and pixmaps go with them)";
    if (host != nullptr && host->window() != 0) {
        EXPECT_EQ(host->editorWindow(), 0u) << "a window inside the host's";
    }
}

#define SKIP_WITHOUT_DISPLAY()    \
    if (hostDisplay() == nullptr) \
    GTEST_SKIP() << "no X display (the test scripts start Xvfb)"

TEST(X11Lifetime, ThreeHundredCyclesWithAudioAndAutomationLeaveNothingBehind) {
    SKIP_WITHOUT_DISPLAY();
    X11Host host(ZELMOR_PLUGIN, 1000);
    // The first open loads the X libraries, which keep what they open for the process.
    ASSERT_EQ(host.open(), 1);
    host.close();
    const Held before = held();
    std::atomic<bool> running{true};
    host.effect().resume();
    std::thread audio([&] {
        std::vector<float> left(256, 0.25f);
        std::vector<float> right(256, -0.25f);
        float* channels[] = {left.data(), right.data()};
        while (running.load()) {
            host.effect().processReplacing(channels, channels, 256);
        }
    });
    std::thread automation([&] {
        for (int step = 0; running.load(); ++step) {
            host.effect().setParameter(step % 3, static_cast<float>(step % 100) / 100.0f);
        }
    });
    constexpr int kCycles = 300;
    int opened = 0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        opened += host.open() == 1;
        host.idle();
        host.close();
    }
    running.store(false);
    audio.join();
    automation.join();
    EXPECT_EQ(opened, kCycles);
    expectNothingLeft(before, &host);
}

TEST(X11Lifetime, TwoInstancesShowTheirEditorsAtOnce) {
    SKIP_WITHOUT_DISPLAY();
    X11Host first;
    ASSERT_EQ(first.open(), 1);
    first.close();
    const Held before = held();
    {
        X11Host second;
        ASSERT_EQ(first.open(), 1);
        ASSERT_EQ(second.open(), 1);
        second.effect().setParameter(0, 1.0f);
        first.effect().setParameter(0, 0.0f);
        first.idle();
        second.idle();
        EXPECT_NE(first.editorWindow(), 0u);
        EXPECT_NE(second.editorWindow(), 0u);
        EXPECT_TRUE(first.idleUntil([&] { return first.shownPixels() != second.shownPixels(); }))
            << "each window shows its own effect";
        second.drag({{44, 420}, {44, 380}, {44, 380}});
        EXPECT_FLOAT_EQ(second.effect().getParameter(0), 1.0f - (380.0f - 255.0f) / 209.0f);
        EXPECT_EQ(first.effect().getParameter(0), 0.0f) << "the other instance's editor stays as it was";
        first.close();
        second.close();
    }
    expectNothingLeft(before, &first);
}

TEST(X11Lifetime, AHostWindowDestroyedBeforeTheCloseIsCleanedUp) {
    SKIP_WITHOUT_DISPLAY();
    const Held before = heldAfterAFirstEditor();
    {
        X11Host host;
        ASSERT_EQ(host.open(), 1);
        host.destroyWindow();
        // Errors for the window that went reach our connection only; the host's process goes on.
        host.effect().setParameter(0, 0.3f);
        for (int i = 0; i < 3; ++i) {
            host.idle();
        }
        host.close();
        ASSERT_EQ(host.open(), 0) << "its window is not there any more";
    }
    expectNothingLeft(before);
}

unsigned int windowsInside(::Window window) {
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(hostDisplay(), window, &root, &parent, &children, &count);
    if (children != nullptr) {
        XFree(children);
    }
    return count;
}

TEST(X11Lifetime, OpeningTwiceAndClosingInsideAGestureLeaveOneWindowAndThenNone) {
    SKIP_WITHOUT_DISPLAY();
    const Held before = heldAfterAFirstEditor();
    {
        X11Host host;
        ASSERT_EQ(host.open(), 1);
        ASSERT_EQ(host.open(), 1) << "a host that opens again without closing";
        EXPECT_EQ(windowsInside(host.window()), 1u);
        // The host closes the editor from the idle time the slider's tracking loop gives it.
        bool closed = false;
        host.onHostIdle = [&] {
            if (!closed) {
                host.effect().dispatch(effEditClose);
            }
            closed = true;
        };
        host.drag({{44, 420}, {44, 380}, {44, 380}});
        host.onHostIdle = nullptr;
        EXPECT_TRUE(closed);
        host.idle();
        EXPECT_EQ(windowsInside(host.window()), 0u);
        host.effect().dispatch(effEditClose);  // and once more, without an open
        ASSERT_EQ(host.open(), 1) << "the editor opens again afterwards";
        host.close();
    }
    expectNothingLeft(before);
}

}  // namespace
}  // namespace x11test
