// Device contexts over windows: GetDC and ReleaseDC, BeginPaint and EndPaint, and presenting the result.
#include <algorithm>

#include "platform/gdi/device_context.h"
#include "platform/present/presenter.h"
#include "platform/window/window.h"

namespace platform {
namespace {

HDC contextOver(Window& window) {
    Window& top = window.topLevel();
    const POINT origin = window.surfaceOrigin();
    return createWindowContext(top.surface, origin.x, origin.y, visibleArea(window));
}

// A stand-in for the screen's context: compatible with everything, drawing nowhere.
HDC screenContext() {
    return createWindowContext(makeBitmap(1, 1, 32), 0, 0, {});
}

}  // namespace
}  // namespace platform

using namespace platform;

extern "C" {

HDC GetDC(HWND handle) {
    if (handle == nullptr) {
        return screenContext();
    }
    std::shared_ptr<Window> window = requireWindow(handle, "GetDC: not a window");
    return window ? contextOver(*window) : nullptr;
}

int ReleaseDC(HWND handle, HDC dc) {
    auto context = requireContext(dc, "ReleaseDC: not a device context");
    if (!context || context->memory) {
        return 0;
    }
    destroyWindowContext(dc);
    if (std::shared_ptr<Window> window = findWindow(handle)) {
        // The presenter finds what really changed inside the window's part of the surface.
        Window& top = window->topLevel();
        const POINT origin = window->surfaceOrigin();
        const RECT changed{std::max(0, origin.x), std::max(0, origin.y),
                           std::min(top.width(), origin.x + window->width()),
                           std::min(top.height(), origin.y + window->height())};
        presenter().present(top.handle, top.pixels(), changed);
    }
    return 1;
}

HDC BeginPaint(HWND handle, PAINTSTRUCT* paint) {
    std::shared_ptr<Window> window = requireWindow(handle, "BeginPaint: not a window");
    if (!window || paint == nullptr) {
        return nullptr;
    }
    const Box area = window->hasUpdate ? window->update : Box{};
    const bool erase = window->eraseOnPaint;
    window->hasUpdate = false;
    window->eraseOnPaint = false;
    window->update = {};
    HDC dc = contextOver(*window);
    restrictWindowContext(dc, area);
    *paint = PAINTSTRUCT{};
    paint->hdc = dc;
    paint->rcPaint = {area.left, area.top, area.right, area.bottom};
    paint->fErase = FALSE;
    if (erase) {
        paint->fErase = deliver(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0 ? TRUE : FALSE;
    }
    return dc;
}

BOOL EndPaint(HWND handle, const PAINTSTRUCT* paint) {
    if (paint == nullptr) {
        return FALSE;
    }
    return ReleaseDC(handle, paint->hdc) != 0 ? TRUE : FALSE;
}

}  // extern "C"
