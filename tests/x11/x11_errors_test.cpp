// X errors around the editor: a host's error handlers keep working after the plug-in is unloaded.
// Each case runs in a process of its own, since what it checks (handlers, unloading) is the whole
// process's, and a crash there must show as a failure.
// GoogleTest first: the X headers define None, Bool and Status as macros.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <stdlib.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "tests/x11/x11_host.h"

namespace x11test {
namespace {

#define SKIP_WITHOUT_DISPLAY()    \
    if (hostDisplay() == nullptr) \
    GTEST_SKIP() << "no X display (the test scripts start Xvfb)"

// In the case's own process: a failed check ends it with its reason, which the test then shows.
void check(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "failed: %s\n", what);
    std::fflush(stderr);
    std::_Exit(2);
}

// Runs a case in a process started afresh (not forked: the parent's X connection must not be shared),
// where it must end with exit(0).
#define EXPECT_CASE_PASSES(scenario)                          \
    GTEST_FLAG_SET(death_test_style, "threadsafe");           \
    EXPECT_EXIT(scenario(), ::testing::ExitedWithCode(0), "") \
        << "the case crashed, exited early or failed a check (its output is above)"

// The host's handlers: the first one it installed, and one it installed later that passes errors on.
std::atomic<int> firstHandlerErrors{0};
std::atomic<int> laterHandlerErrors{0};
XErrorHandler belowLaterHandler = nullptr;

int firstHandler(Display*, XErrorEvent*) {
    firstHandlerErrors.fetch_add(1);
    return 0;
}

int laterHandler(Display* display, XErrorEvent* error) {
    laterHandlerErrors.fetch_add(1);
    return belowLaterHandler != nullptr ? belowLaterHandler(display, error) : 0;
}

// One BadWindow on the host's own connection, delivered before this returns.
void provokeAnError() {
    Display* display = hostDisplay();
    const ::Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XDestroyWindow(display, window);
    XDestroyWindow(display, window);
    XSync(display, False);
}

void aHandlerInstalledAfterTheEditorOpened() {
    XSetErrorHandler(firstHandler);
    {
        X11Host host;
        check(host.open() == 1, "the editor opens");
        // Ours is now what the host's new handler passes errors on to.
        belowLaterHandler = XSetErrorHandler(laterHandler);
        check(belowLaterHandler != nullptr, "a handler was there");
        host.close();
    }  // the plug-in's library is closed here
    provokeAnError();
    check(laterHandlerErrors.load() == 1, "the later handler has the error");
    check(firstHandlerErrors.load() == 1, "the error went on to the first handler");
    // A host putting back the handler it found puts the plug-in's handler on top again.
    XSetErrorHandler(belowLaterHandler);
    provokeAnError();
    check(firstHandlerErrors.load() == 2, "the plug-in's handler passed the error on");
    {
        X11Host again;
        check(again.open() == 1, "a new load of the plug-in opens its editor");
        again.idle();
        again.close();
    }
    provokeAnError();
    check(firstHandlerErrors.load() == 3, "errors still go to the host's handler");
    std::exit(0);
}

TEST(X11Errors, AHostsLaterHandlerWorksAfterThePluginIsUnloaded) {
    SKIP_WITHOUT_DISPLAY();
    EXPECT_CASE_PASSES(aHandlerInstalledAfterTheEditorOpened);
}

// The built library copied into a folder of its own, as a host finds the same plug-in in two folders.
std::string copyOfThePlugin() {
    std::string folder = (std::filesystem::temp_directory_path() / "zelmor-copy-XXXXXX").string();
    check(mkdtemp(folder.data()) != nullptr, "a temporary folder");
    const std::filesystem::path plugin(ZELMOR_PLUGIN);
    const std::filesystem::path copy = std::filesystem::path(folder) / plugin.filename();
    std::filesystem::copy_file(plugin, copy);
    return copy.string();
}

void twoCopiesOneUnloaded() {
    XSetErrorHandler(firstHandler);
    const std::string firstCopy = copyOfThePlugin();
    const std::string secondCopy = copyOfThePlugin();
    auto first = std::make_unique<X11Host>(firstCopy);
    auto second = std::make_unique<X11Host>(secondCopy);
    check(first->open() == 1, "the first copy's editor opens");
    check(second->open() == 1, "the second copy's editor opens");
    // The first copy's handler went in first, so the second's passes errors on to it.
    first.reset();
    provokeAnError();
    check(firstHandlerErrors.load() == 1, "the error reached the host's handler with the first copy unloaded");
    second->idle();
    check(second->editorWindow() != 0, "the second copy's editor stays open");
    second.reset();
    provokeAnError();
    check(firstHandlerErrors.load() == 2, "the error reached the host's handler with both unloaded");
    for (const std::string& copy : {firstCopy, secondCopy})
        std::filesystem::remove_all(std::filesystem::path(copy).parent_path());
    std::exit(0);
}

TEST(X11Errors, TwoCopiesOfThePluginOneUnloaded) {
    SKIP_WITHOUT_DISPLAY();
    EXPECT_CASE_PASSES(twoCopiesOneUnloaded);
}

}  // namespace
}  // namespace x11test
