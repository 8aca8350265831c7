// CViewContainer: the child list with its ownership, and the routing of presses, keys, wheel, drags and focus.
#include <cstring>

#include "gui/context_shift.h"
#include "gui/frame.h"
#include "gui/view_tree.h"

namespace gui {

CViewContainer::ChildEntry::ChildEntry(CView* child) : view(child) {
    view->remember();
}

CViewContainer::ChildEntry::~ChildEntry() {
    view->forget();
}

CViewContainer::CViewContainer(const CRect& rect, CFrame* frame, CBitmap* background) : CView(rect) {
    parentFrame = frame;
    setBackground(background);
}

CViewContainer::~CViewContainer() {
    removeAll(true);
    dropOffscreen();
}

void CViewContainer::addView(CView* view, const CRect& area, bool mouseEnabled) {
    if (view == nullptr) {
        return;
    }
    view->setMouseEnabled(mouseEnabled);
    view->setMouseableArea(area);
    addView(view);
}

void CViewContainer::addView(CView* view) {
    if (view == nullptr) {
        return;
    }
    auto* entry = new ChildEntry(view);
    view->parentFrame = parentFrame;
    view->parentView = this;
    if (pLastView == nullptr) {
        pFirstView = entry;
    } else {
        pLastView->next = entry;
        entry->previous = pLastView;
    }
    pLastView = entry;
    view->attached(this);
    view->setDirty(true);
}

void CViewContainer::removeView(CView* view, bool withForget) {
    ChildEntry* entry = pFirstView;
    while (entry != nullptr && entry->view != view) {
        entry = entry->next;
    }
    if (entry == nullptr) {
        return;
    }
    if (parentFrame != nullptr && parentFrame->getFocusView() == view) {
        parentFrame->setFocusView(nullptr);
    }
    if (currentDragView == view) {
        currentDragView = nullptr;
    }
    view->removed(this);
    if (withForget) {
        view->forget();
    }
    (entry->previous != nullptr ? entry->previous->next : pFirstView) = entry->next;
    (entry->next != nullptr ? entry->next->previous : pLastView) = entry->previous;
    delete entry;
}

void CViewContainer::removeAll(bool withForget) {
    // The frame must not keep pointing at a focus view that goes away with its list. Other containers
    // leave the frame alone: one kept after its removal may outlive the frame it was in.
    if (parentFrame == this) {
        for (ChildEntry* entry = pFirstView; entry != nullptr; entry = entry->next) {
            if (parentFrame->getFocusView() == entry->view) {
                parentFrame->setFocusView(nullptr);
            }
        }
    }
    currentDragView = nullptr;
    ChildEntry* entry = pFirstView;
    pFirstView = pLastView = nullptr;
    while (entry != nullptr) {
        ChildEntry* next = entry->next;
        entry->view->removed(this);
        if (withForget) {
            entry->view->forget();
        }
        delete entry;
        entry = next;
    }
}

bool CViewContainer::isChild(CView* view) const {
    for (ChildEntry* entry = pFirstView; entry != nullptr; entry = entry->next) {
        if (entry->view == view) {
            return true;
        }
    }
    return false;
}

std::int32_t CViewContainer::getNbViews() const {
    std::int32_t count = 0;
    for (ChildEntry* entry = pFirstView; entry != nullptr; entry = entry->next) {
        ++count;
    }
    return count;
}

CView* CViewContainer::getView(std::int32_t index) const {
    if (index < 0) {
        return nullptr;
    }
    ChildEntry* entry = pFirstView;
    for (; entry != nullptr && index > 0; --index) {
        entry = entry->next;
    }
    return entry != nullptr ? entry->view : nullptr;
}

void CViewContainer::setBackgroundColor(const CColor& color) {
    backgroundColor = color;
    setDirty(true);
}

CColor CViewContainer::getBackgroundColor() const {
    return backgroundColor;
}

void CViewContainer::setBackgroundOffset(const CPoint& point) {
    backgroundOffset = point;
}

const CPoint& CViewContainer::getBackgroundOffset() const {
    return backgroundOffset;
}

void CViewContainer::setMode(std::int32_t updateMode) {
    mode = updateMode;
}

std::int32_t CViewContainer::getMode() const {
    return mode;
}

void CViewContainer::mouse(CDrawContext* context, CPoint& where, std::int32_t buttons) {
    CPoint local = toLocal(where);
    if (buttons == -1 && context != nullptr) {
        buttons = context->getMouseButtons();
    }
    for (ChildEntry* entry = pLastView; entry != nullptr; entry = entry->previous) {
        CView* child = entry->view;
        if (child->getMouseEnabled() && child->hitTest(local, buttons)) {
            child->mouse(context, local, buttons);
            return;
        }
    }
}

std::int32_t CViewContainer::onKeyDown(VstKeyCode& keyCode) {
    for (ChildEntry* entry = pLastView; entry != nullptr; entry = entry->previous) {
        const std::int32_t result = entry->view->onKeyDown(keyCode);
        if (result != kKeyNotHandled) {
            return result;
        }
    }
    return kKeyNotHandled;
}

std::int32_t CViewContainer::onKeyUp(VstKeyCode& keyCode) {
    for (ChildEntry* entry = pLastView; entry != nullptr; entry = entry->previous) {
        const std::int32_t result = entry->view->onKeyUp(keyCode);
        if (result != kKeyNotHandled) {
            return result;
        }
    }
    return kKeyNotHandled;
}

CPoint CViewContainer::toLocal(const CPoint& where) const {
    CPoint local = where;
    return local.offset(-size.left, -size.top);
}

bool CViewContainer::onWheel(CDrawContext* context, const CPoint& where, std::int32_t axis, float distance) {
    CView* child = getViewAt(where, false);
    if (child == nullptr) {
        return false;
    }
    ContextShift shift(context, size.topLeft());
    return child->onWheel(context, toLocal(where), axis, distance);
}

bool CViewContainer::onWheel(CDrawContext* context, const CPoint& where, float distance) {
    return onWheel(context, where, kMouseWheelAxisY, distance);
}

// The view under a drag changes: the old one hears that the drag left, the new one (when asked) that it came.
void CViewContainer::changeDragView(CView* child, bool enter, CDrawContext* context, CDragContainer* drag,
                                    const CPoint& local) {
    if (currentDragView != nullptr) {
        currentDragView->onDragLeave(context, drag, local);
    }
    currentDragView = child;
    if (enter && child != nullptr) {
        child->onDragEnter(context, drag, local);
    }
}

void CViewContainer::onDragEnter(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
    if (parentFrame == nullptr) {
        return;
    }
    ContextShift shift(context, size.topLeft());
    changeDragView(getViewAt(where, false), true, context, drag, toLocal(where));
}

void CViewContainer::onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
    if (parentFrame == nullptr) {
        return;
    }
    ContextShift shift(context, size.topLeft());
    CView* child = getViewAt(where, false);
    if (child != currentDragView) {
        changeDragView(child, true, context, drag, toLocal(where));
    } else if (child != nullptr) {
        child->onDragMove(context, drag, toLocal(where));
    }
}

void CViewContainer::onDragLeave(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
    if (parentFrame == nullptr) {
        return;
    }
    ContextShift shift(context, size.topLeft());
    changeDragView(nullptr, false, context, drag, toLocal(where));
}

bool CViewContainer::onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
    if (parentFrame == nullptr) {
        return false;
    }
    ContextShift shift(context, size.topLeft());
    const CPoint local = toLocal(where);
    CView* child = getViewAt(where, false);
    if (child != currentDragView) {
        changeDragView(child, false, context, drag, local);
    }
    if (currentDragView == nullptr) {
        return false;
    }
    const bool result = currentDragView->onDrop(context, drag, local);
    changeDragView(nullptr, false, context, drag, local);
    return result;
}

void CViewContainer::looseFocus(CDrawContext* context) {
    for (ChildEntry* entry = pFirstView; entry != nullptr; entry = entry->next) {
        entry->view->looseFocus(context);
    }
}

void CViewContainer::takeFocus(CDrawContext* context) {
    for (ChildEntry* entry = pFirstView; entry != nullptr; entry = entry->next) {
        entry->view->takeFocus(context);
    }
}

CPoint& CViewContainer::frameToLocal(CPoint& point) const {
    point.offset(-size.left, -size.top);
    if (parentView != nullptr && parentView->isTypeOf("CViewContainer")) {
        return parentView->frameToLocal(point);
    }
    return point;
}

CPoint& CViewContainer::localToFrame(CPoint& point) const {
    point.offset(size.left, size.top);
    if (parentView != nullptr && parentView->isTypeOf("CViewContainer")) {
        return parentView->localToFrame(point);
    }
    return point;
}

CMessageResult CViewContainer::notify(CView* /*sender*/, const char* message) {
    return message == kMsgCheckIfViewContainer ? kMessageNotified : kMessageUnknown;
}

bool CViewContainer::isTypeOf(const char* className) const {
    return (className != nullptr && std::strcmp(className, "CViewContainer") == 0) || CView::isTypeOf(className);
}

CView* CViewContainer::childAt(const CPoint& local) const {
    for (ChildEntry* entry = pLastView; entry != nullptr; entry = entry->previous) {
        CRect area;
        if (local.isInside(entry->view->getMouseableArea(area))) {
            return entry->view;
        }
    }
    return nullptr;
}

CView* CViewContainer::getViewAt(const CPoint& where, bool deep) const {
    if (parentFrame == nullptr) {
        return nullptr;
    }
    const CPoint local = toLocal(where);
    CView* child = childAt(local);
    if (deep && child != nullptr && child->isTypeOf("CViewContainer")) {
        return static_cast<CViewContainer*>(child)->getViewAt(local, true);
    }
    return child;
}

CView* CViewContainer::getCurrentView() const {
    if (parentFrame == nullptr) {
        return nullptr;
    }
    CPoint where;
    parentFrame->getCurrentLocation(where);
    return childAt(frameToLocal(where));
}

bool CViewContainer::advanceNextFocusView(CView* oldFocus, bool reverse) {
    bool passed = oldFocus == nullptr;
    for (ChildEntry* entry = reverse ? pLastView : pFirstView; entry != nullptr;
         entry = reverse ? entry->previous : entry->next) {
        CView* child = entry->view;
        if (!passed) {
            passed = child == oldFocus;
            continue;
        }
        if (child->wantsFocus()) {
            if (parentFrame != nullptr) {
                parentFrame->setFocusView(child);
            }
            return true;
        }
        if (child->isTypeOf("CViewContainer") &&
            static_cast<CViewContainer*>(child)->advanceNextFocusView(nullptr, reverse)) {
            return true;
        }
    }
    return false;
}

}  // namespace gui
