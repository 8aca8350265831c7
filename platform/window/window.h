// Windows and window classes of the subset: the tree, the handle table and geometry in screen terms.
#pragma once

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/gdi/geometry.h"
#include "platform/gdi/objects.h"
#include "platform/present/presenter.h"
#include "platform/subset/win32_user.h"

namespace platform {

struct WindowClass {
    std::string name;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    bool builtIn = false;
    int windows = 0;
};

// State that a built-in control keeps for its window.
struct ControlState {
    virtual ~ControlState() = default;
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> windowClass;
    Window* parent = nullptr;                       // children never outlive their parent in the tree
    HWND nativeParent = nullptr;                    // the host's window that a top-level window of the subset lives in
    std::vector<std::shared_ptr<Window>> children;  // in z-order, topmost first
    DWORD style = 0;
    DWORD exStyle = 0;
    // Relative to the parent's client area; for a top-level window in screen coordinates, or relative to
    // its native parent, whose position the subset does not know.
    Box rect;
    std::string text;
    LONG_PTR userData = 0;
    LONG_PTR id = 0;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    bool hasUpdate = false;
    bool eraseOnPaint = false;
    Box update;                       // client coordinates
    std::shared_ptr<Bitmap> surface;  // top-level windows keep the pixels of their whole tree
    bool destroying = false;
    std::unique_ptr<ControlState> control;
    // The thread that created the window: only it retrieves the window's messages, as on Windows.
    std::thread::id thread;

    int width() const { return rect.right - rect.left; }
    int height() const { return rect.bottom - rect.top; }
    Box client() const { return {0, 0, width(), height()}; }
    bool shown() const;  // visible itself and through all its ancestors
    Window& topLevel();  // the ancestor that owns the surface
    POINT screenOrigin() const;
    POINT surfaceOrigin() const;   // where the client area lies in the top-level surface
    SurfacePixels pixels() const;  // of the surface of a top-level window
    RECT placement() const;        // rect, as the presenter hears it
};

std::shared_ptr<Window> findWindow(HWND handle);
std::shared_ptr<Window> requireWindow(HWND handle, const char* misuse);
std::vector<std::shared_ptr<Window>> topLevelWindows();

// The part of the surface a context over the window may draw: the client area within every ancestor's,
// without the children (WS_CLIPCHILDREN) and the siblings above (WS_CLIPSIBLINGS).
BoxList visibleArea(Window& window);

// The deepest shown window under a point given in the coordinates of the window's parent (in screen
// terms for a top-level window), or null.
Window* deepestAt(Window& window, POINT point);

// Calls the window procedure, keeping the window alive for the call even if it is destroyed meanwhile.
LRESULT deliver(const std::shared_ptr<Window>& window, UINT message, WPARAM wParam, LPARAM lParam);

// The procedure of the built-in "EDIT" class.
LRESULT editWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void invalidate(Window& window, const Box& area, bool erase);
void removePostedMessages(HWND window);

}  // namespace platform
