// CFrame's place among the host's windows: its position and size, resizing through the host or along the
// chain of the host's windows, and the outer window that holds it.
#include <cstdlib>
#include <cstring>

#include "gui/draw_context.h"
#include "gui/frame.h"
#include "gui/frame_editor.h"

namespace gui {
namespace {

// A parent this much larger than the frame's window is the host's own window, not a wrapper around ours.
constexpr LONG kOuterWindowMargin = 60;
constexpr LONG kHostWindowMargin = 80;

RECT windowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

LONG widthOf(const RECT& rect) {
    return rect.right - rect.left;
}

LONG heightOf(const RECT& rect) {
    return rect.bottom - rect.top;
}

void resizeWindow(HWND window, std::int32_t width, std::int32_t height) {
    SetWindowPos(window, HWND_TOP, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}

}  // namespace

void CFrame::setViewSize(CRect& rect) {
    setSize(rect.width(), rect.height());
}

bool CFrame::setPosition(std::int32_t /*x*/, std::int32_t /*y*/) {
    return false;
}

bool CFrame::getPosition(std::int32_t& x, std::int32_t& y) const {
    if (!getOpenFlag() || window == nullptr) {
        return false;
    }
    HWND outer = getOuterWindow();
    const RECT rect = windowRect(outer);
    POINT corner{rect.left, rect.top};
    MapWindowPoints(nullptr, GetParent(outer), &corner, 1);
    x = corner.x;
    y = corner.y;
    return true;
}

bool CFrame::setSize(std::int32_t width, std::int32_t height) {
    if (!getOpenFlag() || (width == size.width() && height == size.height())) {
        return false;
    }
    if (backBuffer != nullptr) {
        backBuffer->forget();
    }
    backBuffer = nullptr;
    if (editor != nullptr && editor->sizeWindow(width, height)) {
        size.right = size.left + width;
        size.bottom = size.top + height;
        if (window != nullptr) {
            resizeWindow(window, width, height);
        }
        return true;
    }
    size.right = size.left + width;
    size.bottom = size.top + height;
    // A parent much larger than the frame belongs to the host, which keeps its own size and layout.
    if (window != nullptr && resizeWindowChain(width, height)) {
        return true;
    }
    CRect whole(0, 0, width, height);
    CViewContainer::setViewSize(whole);
    return true;
}

bool CFrame::resizeWindowChain(std::int32_t width, std::int32_t height) {
    const LONG dialogFrame = 2 * GetSystemMetrics(SM_CYDLGFRAME);
    LONG extraWidth = 0;
    LONG extraHeight = 0;
    HWND current = window;
    while (extraWidth != dialogFrame && current != nullptr) {
        HWND parent = GetParent(current);
        if (parent == nullptr) {
            break;
        }
        char className[1024] = "";
        GetClassNameA(parent, className, sizeof className);
        if (std::strcmp(className, "MDIClient") == 0) {
            break;
        }
        const RECT currentRect = windowRect(current);
        const RECT parentRect = windowRect(parent);
        resizeWindow(current, width + extraWidth, height + extraHeight);
        extraWidth += widthOf(parentRect) - widthOf(currentRect);
        extraHeight += heightOf(parentRect) - heightOf(currentRect);
        if (extraWidth > kHostWindowMargin || extraHeight > kHostWindowMargin) {
            return true;
        }
        if (extraWidth < 0) {
            extraWidth = 0;
        }
        if (extraHeight < 0) {
            extraHeight = 0;
        }
        current = parent;
    }
    if (current != nullptr) {
        resizeWindow(current, width + extraWidth, height + extraHeight);
    }
    return false;
}

bool CFrame::getSize(CRect* rect) const {
    return rect != nullptr && getSize(*rect);
}

bool CFrame::getSize(CRect& rect) const {
    if (!getOpenFlag() || window == nullptr) {
        return false;
    }
    HWND host = GetParent(window);
    if (host == nullptr) {
        return false;
    }
    const RECT bounds = windowRect(host);
    POINT corner{bounds.left, bounds.top};
    HWND above = GetParent(host);
    MapWindowPoints(nullptr, above != nullptr ? GetParent(above) : nullptr, &corner, 1);
    rect = CRect(corner.x, corner.y, corner.x + widthOf(bounds), corner.y + heightOf(bounds));
    return true;
}

HWND CFrame::getOuterWindow() const {
    if (window == nullptr) {
        return nullptr;
    }
    const RECT own = windowRect(window);
    HWND current = window;
    for (;;) {
        HWND parent = GetParent(current);
        if ((static_cast<DWORD>(GetWindowLongA(current, GWL_STYLE)) & WS_CAPTION) != 0 || parent == nullptr) {
            return current;
        }
        const RECT outer = windowRect(parent);
        if (std::labs(widthOf(outer) - widthOf(own)) > kOuterWindowMargin ||
            std::labs(heightOf(outer) - heightOf(own)) > kOuterWindowMargin) {
            return current;
        }
        current = parent;
    }
}

}  // namespace gui
