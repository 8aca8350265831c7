// Pointer, buttons and keys (GetCursorPos, GetAsyncKeyState), system metrics, colours and cursors.
#include "platform/window/input_state.h"

#include "platform/gdi/objects.h"
#include "platform/window/native_input.h"

namespace platform {

void InputState::apply(const GestureStep& step) {
    cursor = step.cursor;
    // The asynchronous state is that of the physical buttons, whether or not the system swaps them.
    down[VK_LBUTTON] = step.left;
    down[VK_RBUTTON] = step.right;
    down[VK_MBUTTON] = step.middle;
    down[VK_SHIFT] = step.shift;
    down[VK_CONTROL] = step.control;
    down[VK_MENU] = step.alt;
    cursorRead = false;
}

InputState& input() {
    static InputState state;
    return state;
}

COLORREF systemColour(int index) {
    switch (index) {
        case COLOR_WINDOW:
            return RGB(255, 255, 255);
        case COLOR_WINDOWTEXT:
            return RGB(0, 0, 0);
        case COLOR_HIGHLIGHT:
            return RGB(0, 120, 215);
        case COLOR_HIGHLIGHTTEXT:
            return RGB(255, 255, 255);
        case COLOR_BTNFACE:
            return RGB(240, 240, 240);
        default:
            return RGB(0, 0, 0);
    }
}

namespace {

constexpr int kCursorIds[] = {32512, 32513, 32514, 32642, 32643, 32644, 32645, 32646, 32648, 32649};
constexpr int kCursorCount = static_cast<int>(sizeof kCursorIds / sizeof kCursorIds[0]);

// The system cursors are fixed objects; their handles are their addresses.
struct SystemCursor {
    int id;
};
SystemCursor systemCursors[kCursorCount] = {{32512}, {32513}, {32514}, {32642}, {32643},
                                            {32644}, {32645}, {32646}, {32648}, {32649}};
HCURSOR currentCursor = reinterpret_cast<HCURSOR>(&systemCursors[0]);

}  // namespace
}  // namespace platform

using namespace platform;

extern "C" {

BOOL GetCursorPos(POINT* point) {
    if (point == nullptr) {
        return FALSE;
    }
    InputState& state = input();
    if (LiveInput* live = liveInput()) {
        live->read(state);
    }
    *point = state.cursor;
    state.cursorRead = true;
    return TRUE;
}

SHORT GetAsyncKeyState(int key) {
    constexpr SHORT kDown = static_cast<SHORT>(0x8000);
    if (key < 0 || key > 255) {
        return 0;
    }
    InputState& state = input();
    const bool button = key == VK_LBUTTON || key == VK_RBUTTON || key == VK_MBUTTON;
    LiveInput* live = liveInput();
    if (live != nullptr && (button || key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU)) {
        live->read(state);
    }
    if (live == nullptr && button && state.cursorRead && !state.gesture.empty()) {
        state.apply(state.gesture.front());
        state.gesture.pop_front();
    }
    return state.down[static_cast<std::size_t>(key)] ? kDown : 0;
}

// The state as the messages delivered so far left it: never read live, and no gesture step taken.
SHORT GetKeyState(int key) {
    constexpr SHORT kDown = static_cast<SHORT>(0x8000);
    if (key < 0 || key > 255) {
        return 0;
    }
    return input().down[static_cast<std::size_t>(key)] ? kDown : 0;
}

int GetSystemMetrics(int index) {
    constexpr int kDialogFrame = 3;
    switch (index) {
        case SM_SWAPBUTTON:
            return input().swappedButtons ? 1 : 0;
        case SM_CYDLGFRAME:
            return kDialogFrame;
        default:
            return 0;
    }
}

UINT GetDoubleClickTime() {
    constexpr UINT kDoubleClickMilliseconds = 500;
    return kDoubleClickMilliseconds;
}

HBRUSH GetSysColorBrush(int index) {
    // One stock brush per system colour, made with the first request for any of them.
    static const struct SystemBrushes {
        HBRUSH brushes[COLOR_BTNFACE + 1];
        SystemBrushes() {
            for (int i = 0; i <= COLOR_BTNFACE; ++i) {
                auto brush = std::make_shared<Brush>();
                brush->colour = systemColour(i);
                brush->stock = true;
                brushes[i] = static_cast<HBRUSH>(addObject(std::move(brush)));
            }
        }
    } system;
    return index >= 0 && index <= COLOR_BTNFACE ? system.brushes[index] : nullptr;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (instance != nullptr || !IS_INTRESOURCE(name)) {
        return nullptr;
    }
    const int id = static_cast<int>(reinterpret_cast<ULONG_PTR>(name));
    for (int i = 0; i < kCursorCount; ++i) {
        if (kCursorIds[i] == id) {
            return reinterpret_cast<HCURSOR>(&systemCursors[i]);
        }
    }
    return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR previous = currentCursor;
    currentCursor = cursor;
    return previous;
}

HCURSOR GetCursor() {
    return currentCursor;
}

}  // extern "C"
