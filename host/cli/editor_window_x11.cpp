// The editor's window on Linux: an X11 top-level window that the plug-in's own connection opens its view in.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "host/cli/editor_window.h"

namespace {

// Xlib keeps one error handler for the whole process, the plug-in's connection included, so the
// host's handler is in place only around its own request that may fail.
int failedRequests = 0;
int noteFailedRequest(Display* /*display*/, XErrorEvent* /*error*/) {
    ++failedRequests;
    return 0;
}

// How one colour of a true-colour pixel is packed: where its bits are and how many.
struct Channel {
    unsigned long mask;
    int shift = 0;
    unsigned long maximum = 0;

    explicit Channel(unsigned long bits) : mask(bits) {
        while (mask != 0 && ((mask >> shift) & 1UL) == 0) {
            ++shift;
        }
        maximum = mask >> shift;
    }
    std::uint8_t from(unsigned long pixel) const {
        if (maximum == 0) {
            return 0;
        }
        return static_cast<std::uint8_t>(((pixel & mask) >> shift) * 255UL / maximum);
    }
};

}  // namespace

struct EditorWindow::System {
    Display* display = nullptr;
    Window window = 0;
    Atom deleteWindow = None;
    int width = 0;
    int height = 0;
};

EditorWindow::EditorWindow(const std::string& title, int width, int height) : system(std::make_unique<System>()) {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        throw std::runtime_error("no X display to open the editor on (DISPLAY is not set)");
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        throw std::runtime_error(std::string("cannot open the X display '") + name + "' to show the editor on");
    }
    system->display = display;
    system->width = width;
    system->height = height;
    int screen = DefaultScreen(display);
    system->window =
        XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), 0, BlackPixel(display, screen), BlackPixel(display, screen));
    XSelectInput(display, system->window, StructureNotifyMask);

    XStoreName(display, system->window, title.c_str());
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, system->window, XInternAtom(display, "_NET_WM_NAME", False), utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
    XClassHint classHint;
    classHint.res_name = const_cast<char*>("zelmor-host");
    classHint.res_class = const_cast<char*>("Zelmor-host");
    XSetClassHint(display, system->window, &classHint);
    system->deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, system->window, &system->deleteWindow, 1);
    // The editor has one size: the window manager must neither shrink nor stretch it.
    if (XSizeHints* hints = XAllocSizeHints()) {
        hints->flags = PSize | PMinSize | PMaxSize;
        hints->width = hints->min_width = hints->max_width = width;
        hints->height = hints->min_height = hints->max_height = height;
        XSetWMNormalHints(display, system->window, hints);
        XFree(hints);
    }

    // The editor's view goes in once the server shows the window, as hosts do.
    XMapWindow(display, system->window);
    XEvent event;
    do {
        XWindowEvent(display, system->window, StructureNotifyMask, &event);
    } while (event.type != MapNotify);
}

EditorWindow::~EditorWindow() {
    if (system->display != nullptr) {
        if (system->window != 0) {
            XDestroyWindow(system->display, system->window);
        }
        XCloseDisplay(system->display);
    }
}

void* EditorWindow::nativeHandle() const {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(system->window));
}

// Linux hosts pass their connection beside the window; a plug-in opens its own and leaves this one alone.
std::intptr_t EditorWindow::openValue() const {
    return reinterpret_cast<std::intptr_t>(system->display);
}

bool EditorWindow::run(const std::function<bool()>& tick) {
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / 30));
    auto due = Clock::now();
    for (;;) {
        while (XPending(system->display) > 0) {
            XEvent event;
            XNextEvent(system->display, &event);
            if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == system->deleteWindow) {
                return true;
            }
        }
        if (!tick()) {
            return false;
        }
        due += period;
        if (Clock::now() > due + period) {
            due = Clock::now();
        }
        std::this_thread::sleep_until(due);
    }
}

WindowPixels EditorWindow::pixels() {
    Display* display = system->display;
    // The editor draws through a connection of its own, during the idle calls before this; the round
    // trip leaves none of this connection's requests pending ahead of the read.
    XSync(display, False);
    failedRequests = 0;
    auto previous = XSetErrorHandler(noteFailedRequest);
    XImage* image = XGetImage(display, system->window, 0, 0, static_cast<unsigned>(system->width),
                              static_cast<unsigned>(system->height), AllPlanes, ZPixmap);
    XSync(display, False);
    XSetErrorHandler(previous);
    if (image == nullptr || failedRequests != 0) {
        if (image != nullptr) {
            XDestroyImage(image);
        }
        throw std::runtime_error("the X server did not give the editor window's pixels");
    }
    XWindowAttributes attributes;
    XGetWindowAttributes(display, system->window, &attributes);
    if (attributes.visual->c_class != TrueColor && attributes.visual->c_class != DirectColor) {
        XDestroyImage(image);
        throw std::runtime_error("the X display has no true-colour visual to read the editor's pixels from");
    }
    const Channel red(image->red_mask), green(image->green_mask), blue(image->blue_mask);
    WindowPixels picture;
    picture.width = system->width;
    picture.height = system->height;
    picture.rgb.reserve(static_cast<std::size_t>(picture.width) * picture.height * 3);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            unsigned long pixel = XGetPixel(image, x, y);
            picture.rgb.push_back(red.from(pixel));
            picture.rgb.push_back(green.from(pixel));
            picture.rgb.push_back(blue.from(pixel));
        }
    }
    XDestroyImage(image);
    return picture;
}
