// Window classes and the window tree: creation, destruction, window data, geometry and z-order.
#include "platform/window/window.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/present/presenter.h"

namespace platform {
namespace {

// Window handles are never reused and never equal a GDI handle.
constexpr std::uintptr_t kFirstWindowHandle = 0x20008;
constexpr std::uintptr_t kWindowHandleStep = 16;

struct WindowTable {
    std::unordered_map<std::uintptr_t, std::shared_ptr<Window>> windows;
    std::vector<std::shared_ptr<Window>> topLevel;  // z-order, topmost first
    std::uintptr_t next = kFirstWindowHandle;
};

WindowTable& table() {
    static WindowTable windows;
    return windows;
}

std::vector<std::shared_ptr<WindowClass>>& classes() {
    static std::vector<std::shared_ptr<WindowClass>> registered = [] {
        auto edit = std::make_shared<WindowClass>();
        edit->name = "Edit";
        edit->procedure = editWindowProcedure;
        edit->background = GetSysColorBrush(COLOR_WINDOW);
        edit->builtIn = true;
        return std::vector<std::shared_ptr<WindowClass>>{edit};
    }();
    return registered;
}

std::shared_ptr<WindowClass> findClass(LPCSTR name) {
    if (name == nullptr || IS_INTRESOURCE(name)) {
        return nullptr;
    }
    for (const auto& windowClass : classes()) {
        if (strcasecmp(windowClass->name.c_str(), name) == 0) {
            return windowClass;
        }
    }
    return nullptr;
}

std::vector<std::shared_ptr<Window>>& siblingsOf(Window& window) {
    return window.parent != nullptr ? window.parent->children : table().topLevel;
}

void destroyTree(const std::shared_ptr<Window>& window) {
    deliver(window, WM_DESTROY, 0, 0);
    // Children are destroyed after their parent has heard WM_DESTROY, as on Windows.
    std::vector<std::shared_ptr<Window>> children = window->children;
    for (const auto& child : children) {
        child->destroying = true;
        destroyTree(child);
        child->parent = nullptr;
    }
    deliver(window, WM_NCDESTROY, 0, 0);
    removePostedMessages(window->handle);
    window->windowClass->windows--;
    window->children.clear();
    table().windows.erase(reinterpret_cast<std::uintptr_t>(window->handle));
}

bool isInside(const Window* window, const Window* ancestor) {
    for (; window != nullptr; window = window->parent) {
        if (window == ancestor) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool Window::shown() const {
    for (const Window* window = this; window != nullptr; window = window->parent) {
        if ((window->style & WS_VISIBLE) == 0) {
            return false;
        }
    }
    return true;
}

Window& Window::topLevel() {
    Window* window = this;
    while (window->parent != nullptr) {
        window = window->parent;
    }
    return *window;
}

POINT Window::screenOrigin() const {
    POINT origin{0, 0};
    for (const Window* window = this; window != nullptr; window = window->parent) {
        origin.x += window->rect.left;
        origin.y += window->rect.top;
    }
    return origin;
}

POINT Window::surfaceOrigin() const {
    POINT origin{0, 0};
    for (const Window* window = this; window->parent != nullptr; window = window->parent) {
        origin.x += window->rect.left;
        origin.y += window->rect.top;
    }
    return origin;
}

RECT Window::placement() const {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

SurfacePixels Window::pixels() const {
    if (!surface) {
        return {};
    }
    return {surface->row(0), surface->rowStep, surface->width, surface->height};
}

std::shared_ptr<Window> findWindow(HWND handle) {
    auto found = table().windows.find(reinterpret_cast<std::uintptr_t>(handle));
    return found == table().windows.end() ? nullptr : found->second;
}

std::shared_ptr<Window> requireWindow(HWND handle, const char* misuse) {
    std::shared_ptr<Window> window = findWindow(handle);
    if (!window) {
        reportMisuse(misuse);
    }
    return window;
}

std::vector<std::shared_ptr<Window>> topLevelWindows() {
    return table().topLevel;
}

BoxList visibleArea(Window& window) {
    if (!window.shown()) {
        return {};
    }
    const POINT origin = window.surfaceOrigin();
    BoxList area{window.client().moved(origin.x, origin.y)};
    for (Window* ancestor = window.parent; ancestor != nullptr; ancestor = ancestor->parent) {
        const POINT ancestorOrigin = ancestor->surfaceOrigin();
        area = intersect(area, ancestor->client().moved(ancestorOrigin.x, ancestorOrigin.y));
    }
    if ((window.style & WS_CLIPCHILDREN) != 0) {
        for (const auto& child : window.children) {
            if ((child->style & WS_VISIBLE) != 0) {
                area = subtract(area, child->rect.moved(origin.x, origin.y));
            }
        }
    }
    if ((window.style & WS_CLIPSIBLINGS) != 0 && window.parent != nullptr) {
        const POINT parentOrigin = window.parent->surfaceOrigin();
        for (const auto& sibling : window.parent->children) {
            if (sibling.get() == &window) {
                break;
            }
            if ((sibling->style & WS_VISIBLE) != 0) {
                area = subtract(area, sibling->rect.moved(parentOrigin.x, parentOrigin.y));
            }
        }
    }
    return area;
}

LRESULT deliver(const std::shared_ptr<Window>& window, UINT message, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<Window> keepAlive = window;
    return keepAlive->procedure(keepAlive->handle, message, wParam, lParam);
}

}  // namespace platform

using namespace platform;

extern "C" {

ATOM RegisterClassA(const WNDCLASSA* description) {
    if (description == nullptr || description->lpszClassName == nullptr || description->lpfnWndProc == nullptr ||
        IS_INTRESOURCE(description->lpszClassName)) {
        return 0;
    }
    if (description->cbClsExtra != 0 || description->cbWndExtra != 0) {
        return 0;
    }
    if (findClass(description->lpszClassName)) {
        return 0;
    }
    auto windowClass = std::make_shared<WindowClass>();
    windowClass->name = description->lpszClassName;
    windowClass->style = description->style;
    windowClass->procedure = description->lpfnWndProc;
    windowClass->instance = description->hInstance;
    windowClass->cursor = description->hCursor;
    windowClass->background = description->hbrBackground;
    classes().push_back(windowClass);
    constexpr ATOM kFirstAtom = 0xC000;
    return static_cast<ATOM>(kFirstAtom + classes().size());
}

BOOL UnregisterClassA(LPCSTR name, HINSTANCE) {
    auto windowClass = findClass(name);
    if (!windowClass || windowClass->builtIn || windowClass->windows > 0) {
        return FALSE;
    }
    auto& registered = classes();
    registered.erase(std::find(registered.begin(), registered.end(), windowClass));
    return TRUE;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width, int height,
                     HWND parentHandle, HMENU menu, HINSTANCE instance, LPVOID parameter) {
    auto windowClass = findClass(className);
    if (!windowClass) {
        return nullptr;
    }
    // A parent that is not a window of the subset is the host's native window: the new window is then
    // top-level here, with a surface of its own that the presenter shows inside that window.
    // Owners of pop-up windows are not supported: a window without WS_CHILD is always top-level.
    std::shared_ptr<Window> parent = (style & WS_CHILD) != 0 ? findWindow(parentHandle) : nullptr;
    if ((style & WS_CHILD) != 0 && parentHandle == nullptr) {
        return nullptr;
    }

    auto window = std::make_shared<Window>();
    WindowTable& windows = table();
    window->handle = reinterpret_cast<HWND>(windows.next);
    windows.next += kWindowHandleStep;
    window->windowClass = windowClass;
    window->style = style;
    window->exStyle = exStyle;
    window->rect = {x, y, x + std::max(0, width), y + std::max(0, height)};
    window->text = title != nullptr ? title : "";
    window->procedure = windowClass->procedure;
    window->instance = instance;
    window->id = (style & WS_CHILD) != 0 ? reinterpret_cast<LONG_PTR>(menu) : 0;
    window->thread = std::this_thread::get_id();
    windowClass->windows++;
    windows.windows.emplace(reinterpret_cast<std::uintptr_t>(window->handle), window);
    if (parent) {
        // A new child goes below its siblings, as on Windows; a new top-level window goes on top.
        window->parent = parent.get();
        parent->children.push_back(window);
    } else {
        window->nativeParent = (style & WS_CHILD) != 0 ? parentHandle : nullptr;
        window->surface = makeBitmap(window->width(), window->height(), 32);
        windows.topLevel.insert(windows.topLevel.begin(), window);
    }

    CREATESTRUCTA create{parameter, instance,  menu,   parentHandle, height, width, y, x, static_cast<LONG>(style),
                         title,     className, exStyle};
    const LPARAM createParameter = reinterpret_cast<LPARAM>(&create);
    if (deliver(window, WM_NCCREATE, 0, createParameter) == 0 || deliver(window, WM_CREATE, 0, createParameter) == -1) {
        DestroyWindow(window->handle);
        return nullptr;
    }
    deliver(window, WM_SIZE, 0, MAKELPARAM(static_cast<WORD>(window->width()), static_cast<WORD>(window->height())));
    deliver(window, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    if (window->shown()) {
        invalidate(*window, window->client(), true);
        if (window->parent == nullptr) {
            presenter().windowShown(window->handle, window->nativeParent, window->placement(), window->pixels());
        }
    }
    return window->handle;
}

BOOL DestroyWindow(HWND handle) {
    std::shared_ptr<Window> window = requireWindow(handle, "DestroyWindow: not a window");
    if (!window || window->destroying) {
        return FALSE;
    }
    window->destroying = true;
    // Focus inside the window moves to its parent before anything is destroyed.
    if (auto focus = findWindow(GetFocus()); focus && isInside(focus.get(), window.get())) {
        SetFocus(window->parent != nullptr ? window->parent->handle : nullptr);
    }
    if (window->parent != nullptr && window->shown()) {
        invalidate(*window->parent, window->rect, true);
    }
    destroyTree(window);
    auto& siblings = siblingsOf(*window);
    if (auto place = std::find(siblings.begin(), siblings.end(), window); place != siblings.end()) {
        siblings.erase(place);
    }
    if (window->parent == nullptr) {
        presenter().windowDestroyed(handle);
    }
    window->parent = nullptr;
    return TRUE;
}

LONG_PTR SetWindowLongPtrA(HWND handle, int index, LONG_PTR value) {
    std::shared_ptr<Window> window = requireWindow(handle, "SetWindowLongPtrA: not a window");
    if (!window) {
        return 0;
    }
    LONG_PTR previous = 0;
    switch (index) {
        case GWLP_USERDATA:
            previous = window->userData;
            window->userData = value;
            break;
        case GWLP_WNDPROC:
            previous = reinterpret_cast<LONG_PTR>(window->procedure);
            if (value != 0) {
                window->procedure = reinterpret_cast<WNDPROC>(value);
            }
            break;
        case GWLP_ID:
            previous = window->id;
            window->id = value;
            break;
        case GWL_STYLE:
            previous = static_cast<LONG>(window->style);
            window->style = static_cast<DWORD>(value);
            break;
        case GWL_EXSTYLE:
            previous = static_cast<LONG>(window->exStyle);
            window->exStyle = static_cast<DWORD>(value);
            break;
        default:
            return 0;
    }
    return previous;
}

LONG_PTR GetWindowLongPtrA(HWND handle, int index) {
    std::shared_ptr<Window> window = requireWindow(handle, "GetWindowLongPtrA: not a window");
    if (!window) {
        return 0;
    }
    switch (index) {
        case GWLP_USERDATA:
            return window->userData;
        case GWLP_WNDPROC:
            return reinterpret_cast<LONG_PTR>(window->procedure);
        case GWLP_ID:
            return window->id;
        case GWLP_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(window->instance);
        case GWL_STYLE:
            return static_cast<LONG>(window->style);
        case GWL_EXSTYLE:
            return static_cast<LONG>(window->exStyle);
        default:
            return 0;
    }
}

LONG GetWindowLongA(HWND handle, int index) {
    if (index != GWL_STYLE && index != GWL_EXSTYLE) {
        return 0;
    }
    return static_cast<LONG>(GetWindowLongPtrA(handle, index));
}

LRESULT CallWindowProcA(WNDPROC procedure, HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (procedure == nullptr) {
        return 0;
    }
    std::shared_ptr<Window> keepAlive = findWindow(handle);
    return procedure(handle, message, wParam, lParam);
}

BOOL GetWindowRect(HWND handle, RECT* rect) {
    std::shared_ptr<Window> window = requireWindow(handle, "GetWindowRect: not a window");
    if (!window || rect == nullptr) {
        return FALSE;
    }
    const POINT origin = window->screenOrigin();
    *rect = {origin.x, origin.y, origin.x + window->width(), origin.y + window->height()};
    return TRUE;
}

BOOL GetClientRect(HWND handle, RECT* rect) {
    std::shared_ptr<Window> window = requireWindow(handle, "GetClientRect: not a window");
    if (!window || rect == nullptr) {
        return FALSE;
    }
    *rect = {0, 0, window->width(), window->height()};
    return TRUE;
}

HWND GetParent(HWND handle) {
    std::shared_ptr<Window> window = requireWindow(handle, "GetParent: not a window");
    if (!window || (window->style & WS_CHILD) == 0) {
        return nullptr;
    }
    return window->parent != nullptr ? window->parent->handle : window->nativeParent;
}

int GetClassNameA(HWND handle, LPSTR name, int size) {
    std::shared_ptr<Window> window = findWindow(handle);
    if (!window || name == nullptr || size <= 0) {
        return 0;
    }
    const std::string& className = window->windowClass->name;
    const int length = std::min(static_cast<int>(className.size()), size - 1);
    std::memcpy(name, className.data(), static_cast<std::size_t>(length));
    name[length] = '\0';
    return length;
}

BOOL SetWindowPos(HWND handle, HWND, int x, int y, int width, int height, UINT flags) {
    std::shared_ptr<Window> window = requireWindow(handle, "SetWindowPos: not a window");
    if (!window) {
        return FALSE;
    }
    if ((flags & SWP_NOZORDER) == 0) {
        BringWindowToTop(handle);
    }
    Box rect = window->rect;
    if ((flags & SWP_NOMOVE) == 0) {
        rect = rect.moved(x - rect.left, y - rect.top);
    }
    if ((flags & SWP_NOSIZE) == 0) {
        rect.right = rect.left + std::max(0, width);
        rect.bottom = rect.top + std::max(0, height);
    }
    if (rect == window->rect) {
        return TRUE;
    }
    const bool resized = rect.right - rect.left != window->width() || rect.bottom - rect.top != window->height();
    if (window->parent != nullptr && window->shown()) {
        invalidate(*window->parent, window->rect, true);
    }
    window->rect = rect;
    if (resized && window->surface) {
        auto surface = makeBitmap(window->width(), window->height(), 32);
        const int rows = std::min(surface->height, window->surface->height);
        const int columns = std::min(surface->width, window->surface->width);
        for (int row = 0; row < rows; ++row) {
            std::copy(window->surface->row(row), window->surface->row(row) + columns, surface->row(row));
        }
        window->surface = surface;
    }
    if (window->parent == nullptr && window->shown()) {
        presenter().windowShown(handle, window->nativeParent, window->placement(), window->pixels());
    }
    if (resized) {
        deliver(window, WM_SIZE, 0,
                MAKELPARAM(static_cast<WORD>(window->width()), static_cast<WORD>(window->height())));
    }
    invalidate(*window, window->client(), true);
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
    POINT fromOrigin{0, 0};
    POINT toOrigin{0, 0};
    if (from != nullptr) {
        auto window = requireWindow(from, "MapWindowPoints: not a window");
        if (!window) {
            return 0;
        }
        fromOrigin = window->screenOrigin();
    }
    if (to != nullptr) {
        auto window = requireWindow(to, "MapWindowPoints: not a window");
        if (!window) {
            return 0;
        }
        toOrigin = window->screenOrigin();
    }
    const LONG dx = fromOrigin.x - toOrigin.x;
    const LONG dy = fromOrigin.y - toOrigin.y;
    for (UINT i = 0; points != nullptr && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL BringWindowToTop(HWND handle) {
    std::shared_ptr<Window> window = requireWindow(handle, "BringWindowToTop: not a window");
    if (!window) {
        return FALSE;
    }
    auto& siblings = siblingsOf(*window);
    siblings.erase(std::find(siblings.begin(), siblings.end(), window));
    siblings.insert(siblings.begin(), window);
    return TRUE;
}

int GetWindowTextA(HWND handle, LPSTR text, int size) {
    if (text == nullptr || size <= 0) {
        return 0;
    }
    text[0] = '\0';
    auto window = findWindow(handle);
    if (!window) {
        return 0;
    }
    return static_cast<int>(
        SendMessageA(handle, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(text)));
}

BOOL SetWindowTextA(HWND handle, LPCSTR text) {
    auto window = requireWindow(handle, "SetWindowTextA: not a window");
    if (!window) {
        return FALSE;
    }
    return SendMessageA(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE : FALSE;
}

}  // extern "C"
