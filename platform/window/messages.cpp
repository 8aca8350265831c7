// The message queue, sending and dispatching, and the default window procedure.
#include <algorithm>
#include <cstring>
#include <deque>

#include "platform/present/presenter.h"
#include "platform/window/clock.h"
#include "platform/window/input_state.h"
#include "platform/window/window.h"

namespace platform {
namespace {

std::deque<MSG>& queue() {
    static std::deque<MSG> posted;
    return posted;
}

// A thread retrieves the messages of its own windows, and those posted to no window.
bool ownedHere(HWND handle) {
    if (handle == nullptr) {
        return true;
    }
    std::shared_ptr<Window> window = findWindow(handle);
    return !window || window->thread == std::this_thread::get_id();
}

bool inRange(UINT message, UINT first, UINT last) {
    return (first == 0 && last == 0) || (message >= first && message <= last);
}

// The first window in tree order, topmost first, that is shown and waits to be painted.
Window* windowToPaint(Window& window) {
    if (!window.shown()) {
        return nullptr;
    }
    if (window.hasUpdate) {
        return &window;
    }
    for (const auto& child : window.children) {
        if (Window* found = windowToPaint(*child)) {
            return found;
        }
    }
    return nullptr;
}

void paintNow(const std::shared_ptr<Window>& window) {
    if (window->hasUpdate && window->shown()) {
        deliver(window, WM_PAINT, 0, 0);
    }
    std::vector<std::shared_ptr<Window>> children = window->children;
    for (const auto& child : children) {
        paintNow(child);
    }
}

}  // namespace

void invalidate(Window& window, const Box& area, bool erase) {
    if (!window.shown()) {
        return;
    }
    const Box part = area.intersect(window.client());
    if (!part.empty()) {
        window.update = window.hasUpdate ? window.update.unite(part) : part;
        window.hasUpdate = true;
        window.eraseOnPaint = window.eraseOnPaint || erase;
    }
    // Without WS_CLIPCHILDREN the children are part of what the parent's area shows.
    if ((window.style & WS_CLIPCHILDREN) == 0) {
        for (const auto& child : window.children) {
            invalidate(*child, area.moved(-child->rect.left, -child->rect.top), erase);
        }
    }
}

void removePostedMessages(HWND window) {
    auto& posted = queue();
    posted.erase(std::remove_if(posted.begin(), posted.end(), [window](const MSG& m) { return m.hwnd == window; }),
                 posted.end());
}

}  // namespace platform

using namespace platform;

extern "C" {

LRESULT SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<Window> window = requireWindow(handle, "SendMessageA: not a window");
    return window ? deliver(window, message, wParam, lParam) : 0;
}

BOOL PostMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (handle != nullptr && !requireWindow(handle, "PostMessageA: not a window")) {
        return FALSE;
    }
    // The message's position is read without counting as the program reading the pointer.
    queue().push_back(MSG{handle, message, wParam, lParam, GetTickCount(), input().cursor});
    return TRUE;
}

BOOL PeekMessageA(MSG* message, HWND handle, UINT first, UINT last, UINT flags) {
    if (message == nullptr) {
        return FALSE;
    }
    // A program looking for messages has finished a round of drawing (a control's tracking loop does
    // this once per step): the screen shows it now.
    presenter().flush();
    auto& posted = queue();
    for (auto it = posted.begin(); it != posted.end(); ++it) {
        if ((handle != nullptr && it->hwnd != handle) || !inRange(it->message, first, last) || !ownedHere(it->hwnd)) {
            continue;
        }
        *message = *it;
        if ((flags & PM_REMOVE) != 0) {
            posted.erase(it);
        }
        return TRUE;
    }
    // Paint messages are made from update areas when nothing else waits, and stay until the area is validated.
    if (!inRange(WM_PAINT, first, last)) {
        return FALSE;
    }
    Window* toPaint = nullptr;
    if (handle != nullptr) {
        auto window = findWindow(handle);
        if (window && window->hasUpdate && window->shown() && window->thread == std::this_thread::get_id()) {
            toPaint = window.get();
        }
    } else {
        for (const auto& top : topLevelWindows()) {
            if (top->thread == std::this_thread::get_id() && (toPaint = windowToPaint(*top)) != nullptr) {
                break;
            }
        }
    }
    if (toPaint == nullptr) {
        return FALSE;
    }
    *message = MSG{toPaint->handle, WM_PAINT, 0, 0, GetTickCount(), input().cursor};
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* message) {
    if (message == nullptr || message->hwnd == nullptr) {
        return 0;
    }
    std::shared_ptr<Window> window = findWindow(message->hwnd);
    return window ? deliver(window, message->message, message->wParam, message->lParam) : 0;
}

BOOL InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
    std::shared_ptr<Window> window = requireWindow(handle, "InvalidateRect: not a window");
    if (!window) {
        return FALSE;
    }
    invalidate(*window, rect != nullptr ? Box{rect->left, rect->top, rect->right, rect->bottom} : window->client(),
               erase != FALSE);
    return TRUE;
}

BOOL GetUpdateRect(HWND handle, RECT* rect, BOOL) {
    std::shared_ptr<Window> window = requireWindow(handle, "GetUpdateRect: not a window");
    if (!window) {
        return FALSE;
    }
    const Box area = window->hasUpdate ? window->update : Box{};
    if (rect != nullptr) {
        *rect = {area.left, area.top, area.right, area.bottom};
    }
    return window->hasUpdate ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND handle) {
    std::shared_ptr<Window> window = requireWindow(handle, "UpdateWindow: not a window");
    if (!window) {
        return FALSE;
    }
    paintNow(window);
    return TRUE;
}

LRESULT DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<Window> window = findWindow(handle);
    if (!window) {
        return 0;
    }
    switch (message) {
        case WM_NCCREATE:
            return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            BeginPaint(handle, &paint);
            EndPaint(handle, &paint);
            return 0;
        }
        case WM_ERASEBKGND: {
            HBRUSH brush = window->windowClass->background;
            if (brush == nullptr) {
                return 0;
            }
            RECT client{0, 0, window->width(), window->height()};
            FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
            return 1;
        }
        case WM_SETTEXT:
            window->text = lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "";
            return TRUE;
        case WM_GETTEXT: {
            auto* buffer = reinterpret_cast<LPSTR>(lParam);
            if (buffer == nullptr || wParam == 0) {
                return 0;
            }
            const std::size_t length = std::min(window->text.size(), static_cast<std::size_t>(wParam) - 1);
            std::memcpy(buffer, window->text.data(), length);
            buffer[length] = '\0';
            return static_cast<LRESULT>(length);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(window->text.size());
        case WM_MOUSEWHEEL:
            // Child windows hand unhandled wheel turns to their parent.
            if ((window->style & WS_CHILD) != 0 && window->parent != nullptr) {
                return SendMessageA(window->parent->handle, message, wParam, lParam);
            }
            return 0;
        case WM_CTLCOLOREDIT: {
            auto dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, systemColour(COLOR_WINDOWTEXT));
            SetBkColor(dc, systemColour(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        default:
            return 0;
    }
}

}  // extern "C"
