// Connecting editors to the X server: one connection per editor window, the presenter and the live
// input installed while any exists.
#include "platform/present/desktop.h"

#include <cstdint>

#include "platform/present/x11/x11_errors.h"
#include "platform/present/x11/x11_presenter.h"
#include "platform/window/input_state.h"
#include "platform/window/window.h"

namespace platform::desktop {

bool connect(void* hostWindow) {
    // Under the test driver, or inside a window of the subset's own, nothing is shown on a display.
    if (input().driven || findWindow(static_cast<HWND>(hostWindow))) {
        return true;
    }
    const x11::Library* x = x11::library();
    if (x == nullptr || hostWindow == nullptr) {
        return false;
    }
    Display* display = x->openDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    x11::adoptConnection(*x, display);
    XWindowAttributes attributes{};
    const auto host = static_cast<::Window>(reinterpret_cast<std::uintptr_t>(hostWindow));
    const bool there = x->getWindowAttributes(display, host, &attributes) != 0;
    x->sync(display, False);
    if (x11::takeErrors(display) != 0 || x11::lost(display) || !there) {
        x11::forgetConnection(*x, display);
        x->closeDisplay(display);
        return false;
    }
    x11::Presenter& presenter = x11::presenterInstance();
    presenter.offer(display);
    setPresenter(&presenter);
    setLiveInput(&presenter);
    return true;
}

void withdraw() {
    x11::presenterInstance().withdraw();
}

void dispatchEvents() {
    // Without a connection (tests' surfaces in memory) the messages are the caller's to dispatch.
    if (liveInput() == nullptr) {
        return;
    }
    x11::Presenter& presenter = x11::presenterInstance();
    presenter.readEvents();
    // Bounded, so that a window that never validates its paint area cannot hold the host's thread.
    constexpr int kMostMessages = 1000;
    MSG message{};
    for (int count = 0; count < kMostMessages; ++count) {
        // Drawing is shown once, after the editor's idle; a gesture dispatched here shows its steps.
        presenter.hold(true);
        const BOOL found = PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
        presenter.hold(false);
        if (found == FALSE) {
            break;
        }
        DispatchMessageA(&message);
    }
}

void show() {
    x11::Presenter& presenter = x11::presenterInstance();
    if (liveInput() != nullptr) {
        presenter.flush();
    }
    // With the last window gone, the subset answers from its recorded state again.
    if (presenter.empty()) {
        setLiveInput(nullptr);
        setPresenter(nullptr);
    }
}

}  // namespace platform::desktop
