// The validator's own X error handler and connection on Linux: Xlib keeps one error handler for the
// whole process, which a plug-in's editor takes over while it runs and must give back.
#include "host/validate/own_display.h"

#include <X11/Xlib.h>

#include <atomic>
#include <cstdint>

namespace validate {
namespace {

std::atomic<int> ownErrors{0};

int countOwnError(Display*, XErrorEvent*) {
    ++ownErrors;
    return 0;
}

}  // namespace

void installOwnErrorHandler() {
    XSetErrorHandler(countOwnError);
}

ErrorProbe probeOwnErrorHandler() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return {false, false, "no X display"};
    }
    // A window of this connection's own, destroyed: its id is certain to name nothing now.
    const Window gone = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XDestroyWindow(display, gone);
    XSync(display, False);
    const int before = ownErrors.load();
    XWindowAttributes attributes;
    XGetWindowAttributes(display, gone, &attributes);
    XSync(display, False);
    const bool reached = ownErrors.load() > before;
    XCloseDisplay(display);
    return {true, reached, ""};
}

std::string killEditorClient(const ParentWindow& window) {
    // Linux hosts pass their connection beside their window: openValue is the host's Display.
    auto* display = reinterpret_cast<Display*>(window.openValue());
    const auto parent = static_cast<Window>(reinterpret_cast<std::uintptr_t>(window.nativeHandle()));
    Window root = 0;
    Window parentOfParent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, parent, &root, &parentOfParent, &children, &count) == 0 || count == 0) {
        if (children != nullptr) {
            XFree(children);
        }
        return "the editor made no X window inside the host's";
    }
    XKillClient(display, children[0]);
    XFree(children);
    XSync(display, False);
    return "";
}

}  // namespace validate
