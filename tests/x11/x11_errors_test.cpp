// X errors and lost connections around the editor: a host's error handlers keep working after the
// plug-in is unloaded, and a killed editor connection closes the editor while the host goes on.
// Each case runs in a process of its own, since what it checks (handlers, unloading, a lost
// connection) is the whole process's, and a crash or an exit there must show as a failure.
// GoogleTest first: the X headers define None, Bool and Status as macros.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/x11/x11_host.h"

namespace x11test {
namespace {

#define SKIP_WITHOUT_DISPLAY()    \
    if (hostDisplay() == nullptr) \
    GTEST_SKIP() << "no X display (the test scripts start Xvfb)"

// In the case's own process: a failed check ends it with its reason, which the test then shows.
void check(bool holds, const char* what) {
    if (holds) {
        return;
    }
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
    for (const std::string& copy : {firstCopy, secondCopy}) {
        std::filesystem::remove_all(std::filesystem::path(copy).parent_path());
    }
    std::exit(0);
}

TEST(X11Errors, TwoCopiesOfThePluginOneUnloaded) {
    SKIP_WITHOUT_DISPLAY();
    EXPECT_CASE_PASSES(twoCopiesOneUnloaded);
}

// What the effect makes of a few blocks of a tone, with the cut-off at a given place.
std::vector<float> processedTone(HostedEffect& effect) {
    constexpr int kFrames = 256;
    effect.setSampleRate(44100.0f);
    effect.setBlockSize(kFrames);
    effect.setParameter(0, 0.3f);
    effect.resume();
    std::vector<float> output;
    for (int block = 0; block < 4; ++block) {
        std::vector<float> left(kFrames);
        std::vector<float> right(kFrames);
        for (int i = 0; i < kFrames; ++i) {
            const int frame = block * kFrames + i;
            left[static_cast<std::size_t>(i)] = 0.5f * std::sin(0.31f * static_cast<float>(frame));
            right[static_cast<std::size_t>(i)] = 0.5f * std::sin(0.07f * static_cast<float>(frame));
        }
        float* channels[] = {left.data(), right.data()};
        effect.processReplacing(channels, channels, kFrames);
        output.insert(output.end(), left.begin(), left.end());
        output.insert(output.end(), right.begin(), right.end());
    }
    return output;
}

void killTheEditorsConnection(X11Host& host) {
    const ::Window editor = host.editorWindow();
    check(editor != 0, "the editor's window is inside the host's");
    // As xkill does: the server drops the client that made the window.
    XKillClient(hostDisplay(), editor);
    XSync(hostDisplay(), False);
}

void aKilledConnection() {
    X11Host host(ZELMOR_TESTING_PLUGIN, 1000);
    check(host.open() == 1, "the editor opens");
    check(showsTheSurface(host), "the editor shows");
    killTheEditorsConnection(host);
    for (int i = 0; i < 5; ++i) {
        host.idle();
    }
    check(host.editorWindow() == 0, "the killed client's window is gone");

    std::string error;
    auto reference = HostedEffect::create(host.library(), error);
    check(reference != nullptr, "a second effect");
    const std::vector<float> played = processedTone(host.effect());
    check(played == processedTone(*reference), "the effect plays as one that never had an editor");
    bool finite = true;
    float loudest = 0.0f;
    for (float sample : played) {
        finite = finite && std::isfinite(sample);
        loudest = std::max(loudest, std::fabs(sample));
    }
    check(finite && loudest > 0.01f, "the effect passes the tone on");

    host.idle();
    host.close();
    host.effect().dispatch(effEditIdle);
    check(host.open() == 1, "the editor opens again, on a new connection");
    check(showsTheSurface(host), "and draws");
    host.close();
    std::exit(0);
}

TEST(X11Errors, AKilledConnectionClosesTheEditorAndTheHostGoesOn) {
    SKIP_WITHOUT_DISPLAY();
    EXPECT_CASE_PASSES(aKilledConnection);
}

void aConnectionKilledDuringADrag() {
    X11Host host(ZELMOR_PLUGIN, 1000);
    check(host.open() == 1, "the editor opens");
    host.clearEdits();
    // The slider's tracking loop gives the host its idle time: the connection goes at the first, and
    // the loop, asking the server for the buttons, must then end by itself.
    int idlesSinceTheKill = -1;
    host.onHostIdle = [&] {
        if (idlesSinceTheKill < 0) {
            killTheEditorsConnection(host);
            idlesSinceTheKill = 0;
        } else {
            check(++idlesSinceTheKill < 200, "the tracking loop ends once the connection is gone");
        }
    };
    host.drag({{44, 420}, {44, 400}, {44, 380}, {44, 380}});
    host.onHostIdle = nullptr;
    check(idlesSinceTheKill >= 0, "the drag reached the tracking loop");
    int begins = 0;
    int ends = 0;
    for (const auto& edit : host.edits()) {
        begins += edit.opcode == audioMasterBeginEdit;
        ends += edit.opcode == audioMasterEndEdit;
    }
    check(begins == 1 && ends == 1, "the gesture was closed");
    host.idle();
    host.close();
    check(host.open() == 1, "the editor opens again");
    host.close();
    std::exit(0);
}

TEST(X11Errors, AConnectionKilledDuringADragEndsTheGesture) {
    SKIP_WITHOUT_DISPLAY();
    EXPECT_CASE_PASSES(aConnectionKilledDuringADrag);
}

}  // namespace
}  // namespace x11test
