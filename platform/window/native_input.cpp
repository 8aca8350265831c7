// Posting a desktop's pointer and key events to the subset's windows, and the live input source.
#include "platform/window/native_input.h"

#include "platform/window/window.h"

namespace platform {
namespace {

LiveInput* live = nullptr;

struct Target {
    HWND window = nullptr;
    POINT screen{0, 0};
};

Target targetAt(HWND topLevel, POINT client) {
    std::shared_ptr<Window> top = findWindow(topLevel);
    if (!top || top->parent != nullptr || top->destroying) {
        return {};
    }
    const POINT screen{top->rect.left + client.x, top->rect.top + client.y};
    Window* found = deepestAt(*top, screen);
    input().cursor = screen;
    return {found != nullptr ? found->handle : nullptr, screen};
}

LPARAM clientPoint(HWND window, POINT screen) {
    MapWindowPoints(nullptr, window, &screen, 1);
    return MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
}

}  // namespace

Window* deepestAt(Window& window, POINT point) {
    if ((window.style & WS_VISIBLE) == 0 || !window.rect.contains(point.x, point.y)) {
        return nullptr;
    }
    const POINT inner{point.x - window.rect.left, point.y - window.rect.top};
    for (const auto& child : window.children) {
        if (Window* found = deepestAt(*child, inner)) {
            return found;
        }
    }
    return &window;
}

void postButton(HWND topLevel, POINT client, MouseButton button, bool pressed, WPARAM keys) {
    const Target target = targetAt(topLevel, client);
    InputState& state = input();
    const int key = button == MouseButton::left ? VK_LBUTTON : button == MouseButton::right ? VK_RBUTTON : VK_MBUTTON;
    state.down[static_cast<std::size_t>(key)] = pressed;
    if (target.window == nullptr) {
        return;
    }
    UINT message = 0;
    switch (button) {
        case MouseButton::left:
            message = pressed ? WM_LBUTTONDOWN : WM_LBUTTONUP;
            break;
        case MouseButton::middle:
            message = pressed ? WM_MBUTTONDOWN : WM_MBUTTONUP;
            break;
        case MouseButton::right:
            message = pressed ? WM_RBUTTONDOWN : WM_RBUTTONUP;
            break;
    }
    PostMessageA(target.window, message, keys, clientPoint(target.window, target.screen));
}

void postMotion(HWND topLevel, POINT client, WPARAM keys) {
    const Target target = targetAt(topLevel, client);
    if (target.window != nullptr) {
        PostMessageA(target.window, WM_MOUSEMOVE, keys, clientPoint(target.window, target.screen));
    }
}

void postWheel(HWND topLevel, POINT client, int notches, WPARAM keys) {
    const Target target = targetAt(topLevel, client);
    if (target.window == nullptr) {
        return;
    }
    const auto delta = static_cast<WORD>(static_cast<SHORT>(notches * WHEEL_DELTA));
    PostMessageA(target.window, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<WORD>(keys), delta),
                 MAKELPARAM(static_cast<WORD>(target.screen.x), static_cast<WORD>(target.screen.y)));
}

void postKey(UINT virtualKey, unsigned char character, bool pressed) {
    if (virtualKey < 256) {
        input().down[virtualKey] = pressed;
    }
    HWND focus = GetFocus();
    if (focus == nullptr) {
        return;
    }
    if (!pressed) {
        PostMessageA(focus, WM_KEYUP, virtualKey, 1);
        return;
    }
    if (virtualKey != 0) {
        PostMessageA(focus, WM_KEYDOWN, virtualKey, 1);
    }
    // What TranslateMessage would add for the key.
    if (character != 0) {
        PostMessageA(focus, WM_CHAR, character, 1);
    }
}

void setLiveInput(LiveInput* source) {
    live = source;
}

LiveInput* liveInput() {
    return live;
}

}  // namespace platform
