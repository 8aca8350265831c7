// COffscreenContext: a drawing context over a memory bitmap compatible with the frame's window.
#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/frame.h"

namespace gui {

COffscreenContext::COffscreenContext(CFrame* owner, std::int32_t w, std::int32_t h, const CColor& background)
    : CDrawContext(owner, WithoutDevice{}), height(h), width(w), backgroundColor(background) {
    clipRect = CRect(0, 0, w, h);
    HWND frameWindow = owner != nullptr ? owner->getNativeWindow() : nullptr;
    HDC windowContext = GetDC(frameWindow);
    HDC memoryContext = CreateCompatibleDC(windowContext);
    memoryBitmap = CreateCompatibleBitmap(windowContext, w, h);
    previousBitmap = SelectObject(memoryContext, memoryBitmap);
    ReleaseDC(frameWindow, windowContext);
    // The defaults were recorded before the memory context existed; it gets them now, so that text
    // drawn offscreen looks as it does on screen.
    adoptDevice(memoryContext);

    setFillColor(background);
    setFrameColor(background);
    const CRect all(0, 0, w, h);
    fillRect(all);
    drawRect(all);
}

COffscreenContext::~COffscreenContext() {
    if (bitmap != nullptr) {
        bitmap->forget();
    }
    releaseDeviceObjects();
    if (systemContext != nullptr) {
        SelectObject(systemContext, previousBitmap);
        DeleteDC(systemContext);
        systemContext = nullptr;
    }
    if (destroyBitmap && memoryBitmap != nullptr) {
        DeleteObject(memoryBitmap);
    }
}

void COffscreenContext::copyFrom(CDrawContext* destination, const CRect& destinationRect, const CPoint& sourceOffset) {
    if (destination == nullptr || systemContext == nullptr) {
        return;
    }
    BitBlt(destination->getSystemContext(), destinationRect.left + destination->offset.h,
           destinationRect.top + destination->offset.v, destinationRect.width(), destinationRect.height(),
           systemContext, sourceOffset.h, sourceOffset.v, SRCCOPY);
}

}  // namespace gui
