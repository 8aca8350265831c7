// CFrame: the root container, its focus view, its back buffer and the drawing it starts.
#include "gui/frame.h"

#include <cstring>

#include "gui/draw_context.h"
#include "gui/system_state.h"

namespace gui {

CFrame::CFrame(const CRect& rect, void* parentWindow, AEffGUIEditor* owner)
    : CViewContainer(rect), editor(owner), systemWindow(parentWindow) {
    parentFrame = this;
    blendingLibrary = system::loadBlendingLibrary();
}

CFrame::~CFrame() {
    if (modalView != nullptr)
        removeView(modalView, false);
    if (frameContext != nullptr)
        frameContext->forget();
    frameContext = nullptr;
    if (backBuffer != nullptr)
        backBuffer->forget();
    backBuffer = nullptr;
    system::freeBlendingLibrary(blendingLibrary);
    // The views go with the frame: none of them is told that it loses the focus.
    focusView = nullptr;
    removeAll(true);
}

void CFrame::draw(CDrawContext* context) {
    bFirstDraw = false;
    CViewContainer::draw(context != nullptr ? context : frameContext);
}

void CFrame::drawRect(CDrawContext* context, const CRect& rect) {
    bFirstDraw = false;
    const bool own = context == nullptr;
    if (own)
        context = createDrawContext();
    CRect kept;
    context->getClipRect(kept);
    CRect clip = rect;
    context->setClipRect(clip.bound(kept));
    if (rect.width() > 0 && rect.height() > 0)
        CViewContainer::drawRect(context, rect);
    context->setClipRect(kept);
    if (own)
        context->forget();
}

AEffGUIEditor* CFrame::getEditor() const {
    return editor;
}

bool CFrame::isTypeOf(const char* className) const {
    return (className != nullptr && std::strcmp(className, "CFrame") == 0) || CViewContainer::isTypeOf(className);
}

bool CFrame::getCurrentLocation(CPoint& where) {
    POINT cursor{};
    GetCursorPos(&cursor);
    where = CPoint(cursor.x, cursor.y);
    if (window != nullptr) {
        RECT bounds{};
        GetWindowRect(window, &bounds);
        where.offset(-bounds.left, -bounds.top);
    }
    return true;
}

void CFrame::setFocusView(CView* view) {
    CView* old = focusView;
    focusView = view;
    if (view != nullptr && view->wantsFocus())
        view->setDirty(true);
    if (old != nullptr) {
        old->looseFocus(nullptr);
        if (old->wantsFocus())
            old->setDirty(true);
    }
}

CView* CFrame::getFocusView() const {
    return focusView;
}

void CFrame::draw(CView* view) {
    if (view != nullptr && !isChild(view))
        view = nullptr;
    CDrawContext* context = createDrawContext();
    if (context == nullptr)
        return;
    CView* target = view != nullptr ? view : this;
    target->draw(context);
    context->forget();
}

CDrawContext* CFrame::createDrawContext() {
    if (frameContext != nullptr) {
        frameContext->remember();
        return frameContext;
    }
    return new CDrawContext(this, nullptr, window);
}

COffscreenContext* CFrame::getBackBuffer() {
    if (backBuffer == nullptr)
        backBuffer = new COffscreenContext(this, size.width(), size.height(), kBlackCColor);
    return backBuffer;
}

}  // namespace gui
