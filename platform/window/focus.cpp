// The keyboard focus: SetFocus and GetFocus with WM_KILLFOCUS and WM_SETFOCUS.
#include "platform/window/window.h"

namespace {
HWND focusWindow = nullptr;
}

using namespace platform;

extern "C" {

HWND SetFocus(HWND handle) {
    std::shared_ptr<Window> window;
    if (handle != nullptr && !(window = requireWindow(handle, "SetFocus: not a window"))) {
        return nullptr;
    }
    HWND previous = focusWindow;
    if (handle == previous) {
        return previous;
    }
    focusWindow = handle;
    if (std::shared_ptr<Window> old = findWindow(previous)) {
        deliver(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(handle), 0);
    }
    // The old window may have moved the focus elsewhere while it heard of the loss.
    if (window && focusWindow == handle) {
        deliver(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return previous;
}

HWND GetFocus() {
    return findWindow(focusWindow) ? focusWindow : nullptr;
}

}  // extern "C"
