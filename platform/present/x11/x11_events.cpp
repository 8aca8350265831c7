// The X11 presenter's input: the events of its windows as the subset's messages, and the live
// pointer and modifier questions of a control's tracking loop.
#include <X11/keysym.h>

#include "platform/present/x11/x11_errors.h"
#include "platform/present/x11/x11_presenter.h"
#include "platform/window/window.h"

namespace platform::x11 {
namespace {

WPARAM mouseKeys(unsigned int state) {
    WPARAM keys = 0;
    if ((state & Button1Mask) != 0) {
        keys |= MK_LBUTTON;
    }
    if ((state & Button2Mask) != 0) {
        keys |= MK_MBUTTON;
    }
    if ((state & Button3Mask) != 0) {
        keys |= MK_RBUTTON;
    }
    if ((state & ShiftMask) != 0) {
        keys |= MK_SHIFT;
    }
    if ((state & ControlMask) != 0) {
        keys |= MK_CONTROL;
    }
    return keys;
}

struct KeyMeaning {
    UINT virtualKey = 0;
    unsigned char character = 0;
};

// What Windows would report for the key: its virtual key, and the Latin-1 character it types.
KeyMeaning meaningOf(KeySym symbol, const char* text, int length) {
    KeyMeaning meaning;
    if (length == 1) {
        meaning.character = static_cast<unsigned char>(text[0]);
    }
    if (symbol >= XK_a && symbol <= XK_z) {
        meaning.virtualKey = static_cast<UINT>('A' + (symbol - XK_a));
    } else if (symbol >= XK_A && symbol <= XK_Z) {
        meaning.virtualKey = static_cast<UINT>('A' + (symbol - XK_A));
    } else if (symbol >= XK_0 && symbol <= XK_9) {
        meaning.virtualKey = static_cast<UINT>('0' + (symbol - XK_0));
    } else if (symbol >= XK_KP_0 && symbol <= XK_KP_9) {
        meaning.virtualKey = static_cast<UINT>(VK_NUMPAD0 + (symbol - XK_KP_0));
    }
    switch (symbol) {
        case XK_BackSpace:
            return {VK_BACK, '\b'};
        case XK_Tab:
        case XK_ISO_Left_Tab:
            return {VK_TAB, '\t'};
        case XK_Return:
        case XK_KP_Enter:
            return {VK_RETURN, '\r'};
        case XK_Escape:
            return {VK_ESCAPE, 0x1B};
        case XK_Delete:
        case XK_KP_Delete:
            return {VK_DELETE, 0};
        case XK_Home:
        case XK_KP_Home:
            return {VK_HOME, 0};
        case XK_End:
        case XK_KP_End:
            return {VK_END, 0};
        case XK_Left:
        case XK_KP_Left:
            return {VK_LEFT, 0};
        case XK_Right:
        case XK_KP_Right:
            return {VK_RIGHT, 0};
        case XK_Up:
        case XK_KP_Up:
            return {VK_UP, 0};
        case XK_Down:
        case XK_KP_Down:
            return {VK_DOWN, 0};
        case XK_Shift_L:
        case XK_Shift_R:
            return {VK_SHIFT, 0};
        case XK_Control_L:
        case XK_Control_R:
            return {VK_CONTROL, 0};
        case XK_Alt_L:
        case XK_Alt_R:
            return {VK_MENU, 0};
        case XK_space:
            meaning.virtualKey = VK_SPACE;
            break;
        case XK_period:
            meaning.virtualKey = VK_OEM_PERIOD;
            break;
        case XK_comma:
            meaning.virtualKey = VK_OEM_COMMA;
            break;
        case XK_minus:
            meaning.virtualKey = VK_OEM_MINUS;
            break;
        case XK_plus:
        case XK_equal:
            meaning.virtualKey = VK_OEM_PLUS;
            break;
        case XK_KP_Decimal:
        case XK_KP_Separator:
            meaning.virtualKey = VK_DECIMAL;
            break;
        case XK_KP_Add:
            meaning.virtualKey = VK_ADD;
            break;
        case XK_KP_Subtract:
            meaning.virtualKey = VK_SUBTRACT;
            break;
        default:
            break;
    }
    // Keys typing other characters still reach the edit box by their character.
    if (meaning.character < 0x20 || meaning.character == 0x7F) {
        meaning.character = 0;
    }
    return meaning;
}

}  // namespace

void Presenter::readEvents() {
    const Library& x = *library();
    const auto thread = std::this_thread::get_id();
    // Handling an event only posts messages, so the list of surfaces stays as it is meanwhile.
    for (auto& owned : surfaces) {
        Surface& surface = *owned;
        if (surface.thread != thread || surface.display == nullptr) {
            continue;
        }
        while (!dropped(surface) && x.pending(surface.display) > 0) {
            XEvent event{};
            x.nextEvent(surface.display, &event);
            handle(surface, event);
        }
        // The host destroyed its window (and ours), or the connection was lost: what is left on the
        // server goes now, with the connection; the subset's window stays until the editor closes.
        if (surface.gone && surface.display != nullptr) {
            release(surface);
        }
    }
}

void Presenter::handle(Surface& surface, XEvent& event) {
    if (event.xany.window != surface.window && event.type != MappingNotify) {
        return;
    }
    switch (event.type) {
        case Expose: {
            const Box area{event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                           event.xexpose.y + event.xexpose.height};
            surface.exposed = surface.exposed.unite(area);
            break;
        }
        case ButtonPress:
        case ButtonRelease: {
            pointerWindow = surface.handle;
            const bool pressed = event.type == ButtonPress;
            const POINT at{event.xbutton.x, event.xbutton.y};
            const unsigned int button = event.xbutton.button;
            WPARAM keys = mouseKeys(event.xbutton.state);
            if (button >= Button1 && button <= Button3) {
                const MouseButton which = button == Button1   ? MouseButton::left
                                          : button == Button2 ? MouseButton::middle
                                                              : MouseButton::right;
                const WPARAM own = which == MouseButton::left     ? MK_LBUTTON
                                   : which == MouseButton::middle ? MK_MBUTTON
                                                                  : MK_RBUTTON;
                keys = pressed ? keys | own : keys & ~own;
                postButton(surface.handle, at, which, pressed, keys);
            } else if (pressed && (button == Button4 || button == Button5)) {
                postWheel(surface.handle, at, button == Button4 ? 1 : -1, keys);
            }
            break;
        }
        case MotionNotify:
            pointerWindow = surface.handle;
            postMotion(surface.handle, POINT{event.xmotion.x, event.xmotion.y}, mouseKeys(event.xmotion.state));
            break;
        case KeyPress:
        case KeyRelease: {
            char text[8] = {};
            KeySym symbol = NoSymbol;
            const int length = library()->lookupString(&event.xkey, text, sizeof text, &symbol, nullptr);
            const KeyMeaning meaning = meaningOf(symbol, text, length);
            if (meaning.virtualKey != 0 || meaning.character != 0) {
                postKey(meaning.virtualKey, meaning.character, event.type == KeyPress);
            }
            break;
        }
        case FocusOut:
            // The user gave the keys to something else (the host, another window): the edit box
            // closes, as it does on Windows when it loses the focus.
            if (surface.focused && event.xfocus.mode == NotifyNormal && event.xfocus.detail != NotifyInferior &&
                event.xfocus.detail != NotifyPointer) {
                surface.focused = false;
                std::shared_ptr<Window> focus = findWindow(GetFocus());
                if (focus && focus->topLevel().handle == surface.handle) {
                    SetFocus(nullptr);
                }
            }
            break;
        case DestroyNotify:
            if (event.xdestroywindow.window == surface.window) {
                surface.gone = true;
            }
            break;
        case MappingNotify:
            library()->refreshKeyboardMapping(&event.xmapping);
            break;
        default:
            break;
    }
}

void Presenter::read(InputState& state) {
    Surface* surface = find(pointerWindow);
    if (surface == nullptr || surface->thread != std::this_thread::get_id()) {
        return;
    }
    // With its window or its connection gone no release will ever come: nothing is held, so that a
    // control's tracking loop ends.
    const auto nothingHeld = [&] {
        state.down[VK_LBUTTON] = state.down[VK_MBUTTON] = state.down[VK_RBUTTON] = false;
        state.down[VK_SHIFT] = state.down[VK_CONTROL] = state.down[VK_MENU] = false;
    };
    if (surface->display == nullptr || surface->gone) {
        nothingHeld();
        return;
    }
    std::shared_ptr<Window> window = findWindow(surface->handle);
    if (!window) {
        return;
    }
    ::Window root = 0;
    ::Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int x = 0;
    int y = 0;
    unsigned int mask = 0;
    // False: the pointer is on another screen, where the last known state stands, or the connection
    // was lost just now.
    if (!library()->queryPointer(surface->display, surface->window, &root, &child, &rootX, &rootY, &x, &y, &mask)) {
        if (dropped(*surface)) {
            nothingHeld();
        }
        return;
    }
    state.cursor = {window->rect.left + x, window->rect.top + y};
    state.down[VK_LBUTTON] = (mask & Button1Mask) != 0;
    state.down[VK_MBUTTON] = (mask & Button2Mask) != 0;
    state.down[VK_RBUTTON] = (mask & Button3Mask) != 0;
    state.down[VK_SHIFT] = (mask & ShiftMask) != 0;
    state.down[VK_CONTROL] = (mask & ControlMask) != 0;
    state.down[VK_MENU] = (mask & Mod1Mask) != 0;
}

}  // namespace platform::x11
