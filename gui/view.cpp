// CView: a rectangle in its parent that draws its background, takes the mouse and is marked dirty.
#include <cstring>

#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/frame.h"
#include "gui/view_tree.h"

namespace gui {

const char* const kMsgCheckIfViewContainer = "kMsgCheckIfViewContainer";

CView::CView(const CRect& rect) : size(rect), mouseableArea(rect) {}

CView::~CView() {
    if (pBackground != nullptr) {
        pBackground->forget();
    }
}

void CView::draw(CDrawContext* context) {
    if (pBackground != nullptr) {
        if (bTransparencyEnabled) {
            pBackground->drawTransparent(context, size, CPoint());
        } else {
            pBackground->draw(context, size, CPoint());
        }
    }
    setDirty(false);
}

void CView::drawRect(CDrawContext* context, const CRect& /*updateRect*/) {
    draw(context);
}

bool CView::checkUpdate(const CRect& updateRect) {
    return updateRect.overlaps(size);
}

void CView::mouse(CDrawContext* /*context*/, CPoint& /*where*/, std::int32_t /*buttons*/) {}

void CView::setBackground(CBitmap* background) {
    // The new one is remembered first: setting the bitmap the view already holds must not destroy it.
    if (background != nullptr) {
        background->remember();
    }
    if (pBackground != nullptr) {
        pBackground->forget();
    }
    pBackground = background;
    setDirty(true);
}

CBitmap* CView::getBackground() const {
    return pBackground;
}

std::int32_t CView::onKeyDown(VstKeyCode& /*keyCode*/) {
    return kKeyNotHandled;
}

std::int32_t CView::onKeyUp(VstKeyCode& /*keyCode*/) {
    return kKeyNotHandled;
}

bool CView::onWheel(CDrawContext* context, const CPoint& where, std::int32_t /*axis*/, float distance) {
    return onWheel(context, where, distance);
}

bool CView::onWheel(CDrawContext* /*context*/, const CPoint& /*where*/, float /*distance*/) {
    return false;
}

bool CView::onDrop(CDrawContext* /*context*/, CDragContainer* /*drag*/, const CPoint& /*where*/) {
    return false;
}

void CView::onDragEnter(CDrawContext* /*context*/, CDragContainer* /*drag*/, const CPoint& /*where*/) {}
void CView::onDragLeave(CDrawContext* /*context*/, CDragContainer* /*drag*/, const CPoint& /*where*/) {}
void CView::onDragMove(CDrawContext* /*context*/, CDragContainer* /*drag*/, const CPoint& /*where*/) {}
void CView::looseFocus(CDrawContext* /*context*/) {}
void CView::takeFocus(CDrawContext* /*context*/) {}

bool CView::isDirty() const {
    return bDirty;
}

void CView::setDirty(bool state) {
    bDirty = state;
}

void CView::setMouseEnabled(bool enabled) {
    bMouseEnabled = enabled;
}

bool CView::getMouseEnabled() const {
    return bMouseEnabled;
}

void CView::setMouseableArea(const CRect& rect) {
    mouseableArea = rect;
}

CRect& CView::getMouseableArea(CRect& rect) const {
    rect = mouseableArea;
    return rect;
}

bool CView::hitTest(const CPoint& where, std::int32_t /*buttons*/) {
    return where.isInside(mouseableArea);
}

void CView::setTransparency(bool enabled) {
    bTransparencyEnabled = enabled;
}

bool CView::getTransparency() const {
    return bTransparencyEnabled;
}

void CView::setViewSize(CRect& rect) {
    size = rect;
    setDirty(true);
}

CRect& CView::getViewSize(CRect& rect) const {
    rect = size;
    return rect;
}

bool CView::removed(CView* /*parent*/) {
    return true;
}

bool CView::attached(CView* /*parent*/) {
    return true;
}

void CView::getMouseLocation(CDrawContext* context, CPoint& point) {
    if (context == nullptr) {
        return;
    }
    if (parentView != nullptr && parentView->notify(this, kMsgCheckIfViewContainer) == kMessageNotified) {
        // The parent answers in its own parent's coordinates; shifted by its origin, that is ours.
        const CPoint shift = parentView->size.topLeft();
        context->offsetScreen.offset(shift.h, shift.v);
        context->offset.offset(shift.h, shift.v);
        parentView->getMouseLocation(context, point);
        context->offsetScreen.offset(-shift.h, -shift.v);
        context->offset.offset(-shift.h, -shift.v);
        return;
    }
    context->getMouseLocation(point);
}

CPoint& CView::frameToLocal(CPoint& point) const {
    if (parentView != nullptr && parentView->isTypeOf("CViewContainer")) {
        return parentView->frameToLocal(point);
    }
    return point;
}

CPoint& CView::localToFrame(CPoint& point) const {
    if (parentView != nullptr && parentView->isTypeOf("CViewContainer")) {
        return parentView->localToFrame(point);
    }
    return point;
}

CFrameEditor* CView::getEditor() const {
    return parentFrame != nullptr ? parentFrame->getEditor() : nullptr;
}

CMessageResult CView::notify(CView* /*sender*/, const char* /*message*/) {
    return kMessageUnknown;
}

void CView::redrawRect(CDrawContext* context, const CRect& rect) {
    if (parentView != nullptr) {
        parentView->redrawRect(context, rect);
    } else if (parentFrame != nullptr) {
        parentFrame->drawRect(context, rect);
    }
}

bool CView::wantsFocus() const {
    return bWantsFocus;
}

void CView::setWantsFocus(bool state) {
    bWantsFocus = state;
}

bool CView::isTypeOf(const char* className) const {
    return className != nullptr && std::strcmp(className, "CView") == 0;
}

void CView::update(CDrawContext* context) {
    if (!isDirty()) {
        return;
    }
    if (context != nullptr) {
        redrawRect(context, size);
    } else if (parentFrame != nullptr) {
        parentFrame->draw(this);
    }
    setDirty(false);
}

}  // namespace gui
