// The X11 test host: its window, the editor's record calls, and input sent through XTest.
#include "tests/x11/x11_host.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "tests/editor/testing_access.h"

namespace x11test {

Display* hostDisplay() {
    static Display* display = XOpenDisplay(nullptr);
    return display;
}

X11Host::X11Host(const std::string& plugin, int idleRate)
    : display(hostDisplay()), periodMilliseconds(1000 / idleRate) {
    if (display == nullptr) {
        throw std::runtime_error("no X display");
    }
    std::string error;
    loaded = PluginLibrary::open(plugin, error);
    if (!loaded) {
        throw std::runtime_error(error);
    }
    hosted = HostedEffect::create(*loaded, error, [this](const HostCall& call) { return answer(call); });
    if (!hosted) {
        throw std::runtime_error(error);
    }
    const int screen = DefaultScreen(display);
    hostWindow = XCreateSimpleWindow(display, RootWindow(display, screen), 10, 10, kWidth, kHeight, 0,
                                     BlackPixel(display, screen), WhitePixel(display, screen));
    XSelectInput(display, hostWindow, StructureNotifyMask);
    XMapWindow(display, hostWindow);
    for (XEvent event{}; event.type != MapNotify;) {
        XWindowEvent(display, hostWindow, StructureNotifyMask, &event);
    }
    sync();
}

X11Host::~X11Host() {
    close();
    hosted.reset();
    if (hostWindow != 0) {
        XDestroyWindow(display, hostWindow);
    }
    sync();
    // Release whatever a failed test left pressed, for the next one.
    for (unsigned int which = 1; which <= 3; ++which) {
        XTestFakeButtonEvent(display, which, False, CurrentTime);
    }
    for (unsigned long symbol : {XK_Shift_L, XK_Control_L}) {
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, symbol), False, CurrentTime);
    }
    sync();
}

std::intptr_t X11Host::open(bool passDisplay) {
    const auto value = passDisplay ? reinterpret_cast<std::intptr_t>(display) : 0;
    const std::intptr_t result =
        hosted->dispatch(effEditOpen, 0, value, reinterpret_cast<void*>(static_cast<std::uintptr_t>(hostWindow)));
    opened = result != 0;
    if (opened) {
        idleUntil([this] { return editorWindow() != 0; }, 50);
    }
    if (opened) {
        idle();
    }
    return result;
}

void X11Host::close() {
    if (!opened || !hosted) {
        return;
    }
    hosted->dispatch(effEditClose);
    opened = false;
    sync();
}

void X11Host::idle() {
    std::this_thread::sleep_for(std::chrono::milliseconds(periodMilliseconds));
    hosted->dispatch(effEditIdle);
    sync();
}

bool X11Host::idleUntil(const std::function<bool()>& condition, int mostIdles) {
    for (int i = 0; i < mostIdles; ++i) {
        if (condition()) {
            return true;
        }
        idle();
    }
    return condition();
}

::Window X11Host::editorWindow() const {
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    ::Window found = 0;
    if (XQueryTree(display, hostWindow, &root, &parent, &children, &count) != 0 && count > 0) {
        found = children[0];
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

std::vector<std::uint32_t> X11Host::shownPixels() const {
    std::vector<std::uint32_t> pixels;
    const ::Window editor = editorWindow();
    if (editor == 0) {
        return pixels;
    }
    XImage* image = XGetImage(display, editor, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return pixels;
    }
    pixels.resize(static_cast<std::size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            pixels[static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)] =
                static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu;
        }
    }
    XDestroyImage(image);
    return pixels;
}

void X11Host::sync() const {
    XSync(display, False);
}

void X11Host::moveTo(int x, int y) {
    int rootX = 0;
    int rootY = 0;
    ::Window child = 0;
    XTranslateCoordinates(display, hostWindow, DefaultRootWindow(display), x, y, &rootX, &rootY, &child);
    XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
    sync();
}

void X11Host::button(unsigned int which, bool down) {
    XTestFakeButtonEvent(display, which, down ? True : False, CurrentTime);
    sync();
}

void X11Host::key(unsigned long keySymbol, bool down) {
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, keySymbol), down ? True : False, CurrentTime);
    sync();
}

void X11Host::setModifier(unsigned long keySymbol, bool down) {
    key(keySymbol, down);
}

void X11Host::typeText(const std::string& text) {
    for (char character : text) {
        const unsigned long symbol = static_cast<unsigned char>(character);  // Latin-1 keysyms are their codes
        key(symbol, true);
        key(symbol, false);
    }
}

void X11Host::drag(const std::vector<std::pair<int, int>>& points) {
    if (points.empty()) {
        return;
    }
    moveTo(points.front().first, points.front().second);
    button(1, true);
    for (std::size_t i = 1; i < points.size(); ++i) {
        const auto point = points[i];
        steps.emplace_back([this, point] { moveTo(point.first, point.second); });
    }
    steps.emplace_back([this] { button(1, false); });
    // The press reaches the editor at an idle; its tracking loop then takes the steps from the host's
    // idle time, one each, inside that idle.
    finishSteps();
}

void X11Host::finishSteps() {
    // A press that nothing tracks (a wheel notch, a click that only opens a box, a reset) leaves its
    // steps here: the release is sent directly.
    constexpr int kIdlesForAPress = 5;
    idleUntil([this] { return steps.empty(); }, kIdlesForAPress);
    if (!steps.empty()) {
        steps.clear();
        for (unsigned int which = 1; which <= 5; ++which) {
            XTestFakeButtonEvent(display, which, False, CurrentTime);
        }
        sync();
    }
    idle();
}

void X11Host::click(int x, int y, unsigned int which) {
    moveTo(x, y);
    button(which, true);
    steps.emplace_back([this, which] { button(which, false); });
    finishSteps();
}

void X11Host::quickClick(int x, int y) {
    moveTo(x, y);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    sync();
    idle();
}

std::intptr_t X11Host::answer(const HostCall& call) {
    if (call.opcode == audioMasterIdle && call.withRecord) {
        if (onHostIdle) {
            onHostIdle();
        }
        if (!steps.empty()) {
            auto step = std::move(steps.front());
            steps.erase(steps.begin());
            step();
        }
        return 1;
    }
    return defaultHostAnswer(call);
}

std::vector<X11Host::Edit> X11Host::edits() const {
    std::vector<Edit> found;
    for (const HostCall& call : hosted->calls()) {
        if (call.opcode == audioMasterBeginEdit || call.opcode == audioMasterAutomate ||
            call.opcode == audioMasterEndEdit) {
            found.push_back({call.opcode, call.index, call.opt});
        }
    }
    return found;
}

void X11Host::clearEdits() {
    hosted->clearCalls();
}

std::vector<std::uint32_t> surfacePixels(X11Host& host) {
    auto entry = reinterpret_cast<TestingAccessEntry>(host.library().symbol("zelmorTestingAccess"));
    if (entry == nullptr) {
        return {};
    }
    const editortest::TestingAccess& access = *entry();
    HWND frame = access.windowIn(reinterpret_cast<void*>(static_cast<std::uintptr_t>(host.window())));
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
    if (frame == nullptr) {
        return {};
    }
    access.readPixels(frame, kWidth, kHeight, pixels.data());
    for (auto& pixel : pixels) {
        pixel &= 0xFFFFFFu;
    }
    return pixels;
}

bool showsTheSurface(X11Host& host) {
    return host.idleUntil([&] {
        const auto surface = surfacePixels(host);
        return !surface.empty() && host.shownPixels() == surface;
    });
}

void X11Host::destroyWindow() {
    XDestroyWindow(display, hostWindow);
    hostWindow = 0;
    sync();
}

}  // namespace x11test
