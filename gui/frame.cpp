// CFrame: construction and destruction, drawing and the idle update, presses, keys, focus, the modal
// view, and the editor services that controls reach through the frame.
#include "gui/frame.h"

#include <cstring>
#include <initializer_list>

#include "gui/draw_context.h"
#include "gui/frame_editor.h"
#include "gui/system_state.h"

namespace gui {

CFrame::CFrame(const CRect& rect, void* parentWindow, CFrameEditor* owner)
    : CViewContainer(rect), editor(owner), systemWindow(parentWindow) {
    parentFrame = this;
    const HRESULT ole = OleInitialize(nullptr);
    oleInitialised = ole == S_OK || ole == S_FALSE;
    blendingLibrary = system::loadBlendingLibrary();
    if (systemWindow != nullptr) {
        createWindow();
    }
}

CFrame::~CFrame() {
    // A text edit that is still editing closes its edit box and ends its gesture while the window exists.
    if (focusView != nullptr) {
        setFocusView(nullptr);
    }
    if (modalView != nullptr) {
        removeView(modalView, false);
    }
    modalView = nullptr;
    setCursor(kCursorDefault);
    if (bDropActive && window != nullptr) {
        setDropActive(false);
    }
    if (frameContext != nullptr) {
        frameContext->forget();
    }
    frameContext = nullptr;
    if (oleInitialised) {
        OleUninitialize();
    }
    if (backBuffer != nullptr) {
        backBuffer->forget();
    }
    backBuffer = nullptr;
    system::freeBlendingLibrary(blendingLibrary);
    blendingLibrary = nullptr;
    destroyWindow();
    if (bAddedWindow && bOpenFlag && systemWindow != nullptr) {
        systemWindow = nullptr;
    }
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
    if (own) {
        context = createDrawContext();
    }
    CRect kept;
    context->getClipRect(kept);
    CRect clip = rect;
    context->setClipRect(clip.bound(kept));
    if (rect.width() > 0 && rect.height() > 0) {
        CViewContainer::drawRect(context, rect);
    }
    context->setClipRect(kept);
    if (own) {
        context->forget();
    }
}

void CFrame::mouse(CDrawContext* context, CPoint& where, std::int32_t buttons) {
    if (context == nullptr) {
        context = frameContext;
    }
    // Any press ends the current focus: a text edit closes its edit box before the press goes on.
    if (focusView != nullptr) {
        setFocusView(nullptr);
    }
    if (buttons == -1 && context != nullptr) {
        buttons = context->getMouseButtons();
    }
    if (modalView == nullptr) {
        CViewContainer::mouse(context, where, buttons);
    } else if (modalView->hitTest(where, buttons)) {
        modalView->mouse(context, where, buttons);
    }
}

// The focus view first, then the modal view: the first answer other than "not taken" counts.
std::int32_t CFrame::offerKey(VstKeyCode& keyCode, bool down) {
    for (CView* view : {focusView, modalView}) {
        if (view == nullptr) {
            continue;
        }
        const std::int32_t result = down ? view->onKeyDown(keyCode) : view->onKeyUp(keyCode);
        if (result != kKeyNotHandled) {
            return result;
        }
    }
    return kKeyNotHandled;
}

std::int32_t CFrame::onKeyDown(VstKeyCode& keyCode) {
    const InUse running(this);
    const std::int32_t result = offerKey(keyCode, true);
    if (result != kKeyNotHandled) {
        return result;
    }
    constexpr unsigned char kTab = 2;
    constexpr unsigned char kShiftModifier = 1;
    if (keyCode.virt == kTab && advanceNextFocusView(focusView, (keyCode.modifier & kShiftModifier) != 0)) {
        return 1;
    }
    return kKeyNotHandled;
}

std::int32_t CFrame::onKeyUp(VstKeyCode& keyCode) {
    const InUse running(this);
    return offerKey(keyCode, false);
}

bool CFrame::onWheel(CDrawContext* context, const CPoint& where, std::int32_t axis, float distance) {
    const InUse running(this);
    CView* view = modalView != nullptr ? modalView : getViewAt(where, false);
    if (view == nullptr) {
        return false;
    }
    const bool own = context == nullptr;
    if (own) {
        context = createDrawContext();
    }
    const bool taken = view->onWheel(context, where, axis, distance);
    if (own && context != nullptr) {
        context->forget();
    }
    return taken;
}

CFrameEditor* CFrame::getEditor() const {
    return editor;
}

bool CFrame::isTypeOf(const char* className) const {
    return (className != nullptr && std::strcmp(className, "CFrame") == 0) || CViewContainer::isTypeOf(className);
}

void CFrame::update(CDrawContext* context) {
    if (!getOpenFlag() || bUpdatesDisabled || context == nullptr) {
        return;
    }
    CDrawContext* kept = frameContext;
    COffscreenContext* buffer = getBackBuffer();
    frameContext = buffer;
    // Only what was redrawn goes to the window: during a drag that is one slider and its display, a
    // small part of the panel.
    const CRect whole(0, 0, size.width(), size.height());
    CRect changed = whole;
    if (bDirty) {
        draw(buffer);
        setDirty(false);
    } else {
        changed = CRect();
        CRect oldClip;
        buffer->getClipRect(oldClip);
        if (modalView != nullptr && modalView->isDirty()) {
            CRect modalSize;
            changed.unite(modalView->getViewSize(modalSize));
            modalView->update(buffer);
        }
        for (ChildEntry* entry = pFirstView; entry != nullptr; entry = entry->next) {
            CRect clip;
            entry->view->getViewSize(clip);
            if (entry->view->isDirty()) {
                changed.unite(clip);
            }
            buffer->setClipRect(clip.bound(oldClip));
            entry->view->update(buffer);
        }
        buffer->setClipRect(oldClip);
        changed.bound(whole);
    }
    if (changed.width() > 0 && changed.height() > 0) {
        BitBlt(context->getSystemContext(), size.left + changed.left + context->offset.h,
               size.top + changed.top + context->offset.v, changed.width(), changed.height(),
               buffer->getSystemContext(), changed.left, changed.top, SRCCOPY);
    }
    frameContext = kept;
}

CView* CFrame::getCurrentView() const {
    return modalView != nullptr ? modalView : CViewContainer::getCurrentView();
}

bool CFrame::advanceNextFocusView(CView* oldFocus, bool reverse) {
    if (modalView != nullptr) {
        return false;
    }
    if (oldFocus == nullptr) {
        if (focusView == nullptr) {
            return CViewContainer::advanceNextFocusView(nullptr, reverse);
        }
        oldFocus = focusView;
    }
    if (isChild(oldFocus)) {
        if (CViewContainer::advanceNextFocusView(oldFocus, reverse)) {
            return true;
        }
        setFocusView(nullptr);
        return false;
    }
    CView* previous = oldFocus;
    for (CView* parent = oldFocus->getParentView();
         parent != nullptr && parent != this && parent->isTypeOf("CViewContainer"); parent = parent->getParentView()) {
        if (static_cast<CViewContainer*>(parent)->advanceNextFocusView(previous, reverse)) {
            return true;
        }
        previous = parent;
    }
    return CViewContainer::advanceNextFocusView(previous, reverse);
}

bool CFrame::open(CPoint* /*point*/) {
    if (!bAddedWindow) {
        return false;
    }
    if (bOpenFlag) {
        if (window != nullptr) {
            if (HWND host = GetParent(window)) {
                if (HWND outer = GetParent(host)) {
                    BringWindowToTop(outer);
                }
            }
        }
        return false;
    }
    if (systemWindow != nullptr) {
        createWindow();
        bOpenFlag = true;
    }
    return bOpenFlag;
}

bool CFrame::close() {
    if (bAddedWindow && bOpenFlag && systemWindow != nullptr) {
        systemWindow = nullptr;
        return true;
    }
    return false;
}

bool CFrame::isOpen() const {
    return bOpenFlag;
}

void CFrame::idle() {
    if (!getOpenFlag() || bFirstDraw || releasing || !isDirty()) {
        return;
    }
    const InUse running(this);
    CDrawContext* context = createDrawContext();
    update(context);
    context->forget();
}

void CFrame::doIdleStuff() {
    // From its first idle step on, a gesture follows the buttons as they are now.
    pressButtons = -1;
    if (editor != nullptr) {
        editor->doIdleStuff();
    }
}

std::uint32_t CFrame::getTicks() const {
    return editor != nullptr ? GetTickCount() : 0;
}

std::int32_t CFrame::getKnobMode() const {
    return editor != nullptr ? editor->getKnobMode() : 0;
}

bool CFrame::setModalView(CView* view) {
    if (view != nullptr && modalView != nullptr) {
        return false;
    }
    if (modalView != nullptr) {
        removeView(modalView, false);
    }
    modalView = view;
    if (view != nullptr) {
        addView(view);
    }
    return true;
}

CView* CFrame::getModalView() const {
    return modalView;
}

void CFrame::beginEdit(std::int32_t index) {
    if (editor != nullptr) {
        editor->beginEdit(index);
    }
}

void CFrame::endEdit(std::int32_t index) {
    if (editor != nullptr) {
        editor->endEdit(index);
    }
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
    if (view != nullptr && view->wantsFocus()) {
        view->setDirty(true);
    }
    if (old != nullptr) {
        old->looseFocus(nullptr);
        if (old->wantsFocus()) {
            old->setDirty(true);
        }
    }
}

CView* CFrame::getFocusView() const {
    return focusView;
}

bool CFrame::isDropActive() const {
    return bDropActive;
}

void CFrame::setOpenFlag(bool open) {
    bOpenFlag = open;
}

bool CFrame::getOpenFlag() const {
    return bOpenFlag;
}

void CFrame::invalidate(const CRect& rect) {
    for (ChildEntry* entry = pFirstView; entry != nullptr; entry = entry->next) {
        CRect childSize;
        if (entry->view->getViewSize(childSize).overlaps(rect)) {
            entry->view->setDirty(true);
        }
    }
}

bool CFrame::updatesDisabled(bool disabled) {
    const bool previous = bUpdatesDisabled;
    bUpdatesDisabled = disabled;
    return previous;
}

bool CFrame::updatesDisabled() const {
    return bUpdatesDisabled;
}

void CFrame::draw(CView* view) {
    if (view != nullptr && !isChild(view)) {
        view = nullptr;
    }
    CDrawContext* context = createDrawContext();
    if (context == nullptr) {
        return;
    }
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
    if (backBuffer == nullptr) {
        backBuffer = new COffscreenContext(this, size.width(), size.height(), kBlackCColor);
    }
    return backBuffer;
}

void CFrame::release(bool keepEditor) {
    // A frame already waiting for its calls to return may still lose its editor.
    if (!keepEditor) {
        editor = nullptr;
    }
    if (releasing) {
        return;
    }
    if (callsRunning == 0) {
        forget();
        return;
    }
    releasing = true;
    // A text edit that is editing closes its box and ends its gesture now, while its listener exists.
    if (focusView != nullptr) {
        setFocusView(nullptr);
    }
}

// A call may reach the host, which may close the editor or remove the whole effect there: the frame
// then goes when the outermost of its calls returns, and the effect after it.
CFrame::InUse::InUse(CFrame* running) : frame(running), holding(nullptr) {
    if (frame == nullptr) {
        return;
    }
    ++frame->callsRunning;
    holding = frame->editor;
    if (holding != nullptr) {
        holding->enterCall();
    }
}

CFrame::InUse::~InUse() {
    CFrameEditor* held = holding;
    if (frame != nullptr && --frame->callsRunning == 0 && frame->releasing) {
        frame->forget();
    }
    if (held != nullptr) {
        held->leaveCall();
    }
}

}  // namespace gui
