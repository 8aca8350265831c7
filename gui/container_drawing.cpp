// CViewContainer drawing: whole and partial draws (optionally through an offscreen bitmap), the dirty
// rule, redraw requests from children, and the idle update by mode.
#include "gui/bitmap.h"
#include "gui/context_shift.h"
#include "gui/frame.h"
#include "gui/view_tree.h"

namespace gui {

void CViewContainer::makeOffscreen() {
    pOffscreenContext = new COffscreenContext(parentFrame, size.width(), size.height(), kBlackCColor);
}

void CViewContainer::dropOffscreen() {
    if (pOffscreenContext != nullptr) {
        pOffscreenContext->forget();
    }
    pOffscreenContext = nullptr;
}

void CViewContainer::setViewSize(CRect& rect) {
    CView::setViewSize(rect);
    if (pOffscreenContext != nullptr && bDrawInOffscreen) {
        dropOffscreen();
        makeOffscreen();
    }
}

bool CViewContainer::removed(CView* /*parent*/) {
    dropOffscreen();
    return true;
}

bool CViewContainer::attached(CView* /*parent*/) {
    if (pOffscreenContext == nullptr && bDrawInOffscreen) {
        makeOffscreen();
    }
    return true;
}

void CViewContainer::useOffscreen(bool enabled) {
    bDrawInOffscreen = enabled;
    if (!enabled) {
        dropOffscreen();
    }
}

CDrawContext* CViewContainer::beginDrawing(CDrawContext* context) {
    if (pOffscreenContext == nullptr && bDrawInOffscreen) {
        makeOffscreen();
    }
    if (pOffscreenContext != nullptr && bTransparencyEnabled) {
        // Composed over what the parent drew underneath.
        BitBlt(pOffscreenContext->getSystemContext(), 0, 0, size.width(), size.height(), context->getSystemContext(),
               size.left + context->offset.h, size.top + context->offset.v, SRCCOPY);
    }
    if (bDrawInOffscreen) {
        return pOffscreenContext;
    }
    context->offsetScreen.offset(size.left, size.top);
    context->offset.offset(size.left, size.top);
    return context;
}

void CViewContainer::endDrawing(CDrawContext* context, const CRect& source, const CRect& destination) {
    if (bDrawInOffscreen) {
        pOffscreenContext->copyFrom(context, destination, source.topLeft());
        return;
    }
    context->offsetScreen.offset(-size.left, -size.top);
    context->offset.offset(-size.left, -size.top);
}

CRect CViewContainer::clipForChildren(CDrawContext* context) const {
    CRect clip;
    context->getClipRect(clip);
    // An offscreen bitmap starts at the container's origin.
    if (bDrawInOffscreen && parentFrame != this) {
        clip.offset(-clip.left, -clip.top);
    }
    return clip;
}

void CViewContainer::draw(CDrawContext* context) {
    if (context == nullptr) {
        return;
    }
    CDrawContext* target = beginDrawing(context);
    const CRect kept = clipForChildren(context);
    CRect local(0, 0, size.width(), size.height());
    CRect area = local;
    target->setClipRect(area.bound(kept));

    if (pBackground != nullptr) {
        if (bTransparencyEnabled) {
            pBackground->drawTransparent(target, local, backgroundOffset);
        } else {
            pBackground->draw(target, local, backgroundOffset);
        }
    } else if (!bTransparencyEnabled) {
        target->setFillColor(backgroundColor);
        target->fillRect(local);
    }
    for (ChildEntry* entry = pFirstView; entry != nullptr; entry = entry->next) {
        CRect clip;
        entry->view->getViewSize(clip);
        target->setClipRect(clip.bound(kept));
        entry->view->draw(target);
    }
    target->setClipRect(kept);
    endDrawing(context, local, CRect(size.left, size.top, size.left + local.width(), size.top + local.height()));
    setDirty(false);
}

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect) {
    if (context == nullptr) {
        return;
    }
    CDrawContext* target = beginDrawing(context);
    CRect bounded = updateRect;
    bounded.bound(size);
    CRect local = bounded;
    local.offset(-size.left, -size.top);
    const CRect kept = clipForChildren(context);
    CRect clip = local;
    clip.bound(kept);
    target->setClipRect(clip);

    drawBackgroundRect(target, local);
    for (ChildEntry* entry = pFirstView; entry != nullptr; entry = entry->next) {
        CView* child = entry->view;
        if (!child->checkUpdate(local)) {
            continue;
        }
        CRect childSize;
        child->getViewSize(childSize);
        CRect childClip = childSize;
        childClip.bound(clip);
        if (childClip.width() == 0 || childClip.height() == 0) {
            continue;
        }
        target->setClipRect(childClip);
        const bool wasDirty = child->isDirty();
        child->drawRect(target, local);
        // The part left out is drawn by a later pass.
        if (wasDirty && childClip != childSize && !isTypeOf("CScrollContainer")) {
            child->setDirty(true);
        }
    }
    target->setClipRect(kept);
    endDrawing(context, local, bounded);
    setDirty(false);
}

void CViewContainer::drawBackgroundRect(CDrawContext* context, const CRect& rect) {
    if (pBackground != nullptr) {
        CRect kept;
        context->getClipRect(kept);
        CRect clip = rect;
        context->setClipRect(clip.bound(kept));
        const CRect whole(0, 0, pBackground->getWidth(), pBackground->getHeight());
        if (bTransparencyEnabled) {
            pBackground->drawTransparent(context, whole, backgroundOffset);
        } else {
            pBackground->draw(context, whole, backgroundOffset);
        }
        context->setClipRect(kept);
    } else if (!bTransparencyEnabled) {
        context->setFillColor(backgroundColor);
        context->fillRect(rect);
    }
}

void CViewContainer::redrawRect(CDrawContext* context, const CRect& rect) {
    CRect moved = rect;
    moved.offset(size.left, size.top);
    if (bTransparencyEnabled) {
        if (parentView != nullptr) {
            parentView->redrawRect(context, moved);
        } else if (parentFrame != nullptr) {
            parentFrame->drawRect(context, moved);
        }
        return;
    }
    if (parentView == nullptr) {
        drawRect(context, moved);
        return;
    }
    CPoint origin;
    parentView->localToFrame(origin);
    ContextShift shift(context, origin);
    drawRect(context, moved);
}

bool CViewContainer::isDirty() const {
    if (bDirty) {
        return true;
    }
    const CRect local(0, 0, size.width(), size.height());
    for (ChildEntry* entry = pFirstView; entry != nullptr; entry = entry->next) {
        if (!entry->view->isDirty()) {
            continue;
        }
        CRect visible;
        entry->view->getViewSize(visible);
        visible.bound(local);
        if (visible.width() > 0 && visible.height() > 0) {
            return true;
        }
    }
    return false;
}

void CViewContainer::update(CDrawContext* context) {
    const CRect local(0, 0, size.width(), size.height());
    if (mode == kNormalUpdate) {
        if (isDirty()) {
            redrawRect(context, local);
            setDirty(false);
        }
        return;
    }
    if (mode != kOnlyDirtyUpdate) {
        return;
    }
    if (bDirty) {
        redrawRect(context, local);
    } else {
        for (ChildEntry* entry = pFirstView; entry != nullptr; entry = entry->next) {
            CView* child = entry->view;
            if (!child->isDirty() || !child->checkUpdate(local)) {
                continue;
            }
            if (child->notify(this, kMsgCheckIfViewContainer) == kMessageNotified) {
                child->update(context);
            } else {
                CRect rect;
                child->getViewSize(rect);
                child->redrawRect(context, rect.bound(local));
            }
        }
    }
    setDirty(false);
}

}  // namespace gui
