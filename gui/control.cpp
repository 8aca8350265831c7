// CControl: the value model, the dirty rule, the gesture bracket and the control-click reset.
#include "gui/control.h"

#include <cstring>

#include "gui/draw_context.h"
#include "gui/frame.h"

std::int32_t CControlListener::controlModifierClicked(gui::CDrawContext* /*context*/, gui::CControl* /*control*/,
                                                      std::int32_t /*buttons*/) {
    return 0;
}

namespace gui {
namespace {

constexpr UINT kShortestDoubleClick = 250;

std::int32_t doubleClickTime() {
    const UINT system = GetDoubleClickTime();
    return static_cast<std::int32_t>(system < kShortestDoubleClick ? kShortestDoubleClick : system);
}

}  // namespace

CControl::CControl(const CRect& rect, CControlListener* owner, std::int32_t identifier, CBitmap* background)
    : CView(rect), listener(owner), tag(identifier), delta(doubleClickTime()) {
    setMouseEnabled(true);
    setTransparency(false);
    if (background != nullptr) {
        CView::setBackground(background);
    }
    setDirty(true);
}

CControl::~CControl() = default;

bool CControl::isDirty() const {
    // Any inequality counts, NaN included.
    return !(value == oldValue) || bDirty;
}

void CControl::setDirty(bool state) {
    bDirty = state;
    if (state) {
        oldValue = value == -1.0f ? 0.0f : -1.0f;
    } else {
        oldValue = value;
    }
}

bool CControl::isTypeOf(const char* className) const {
    return (className != nullptr && std::strcmp(className, "CControl") == 0) || CView::isTypeOf(className);
}

void CControl::doIdleStuff() {
    if (parentFrame != nullptr) {
        parentFrame->doIdleStuff();
    }
}

void CControl::setValue(float newValue) {
    value = newValue;
}

float CControl::getValue() const {
    return value;
}

void CControl::setMin(float newValue) {
    vmin = newValue;
}

float CControl::getMin() const {
    return vmin;
}

void CControl::setMax(float newValue) {
    vmax = newValue;
}

float CControl::getMax() const {
    return vmax;
}

void CControl::setOldValue(float newValue) {
    oldValue = newValue;
}

float CControl::getOldValue() const {
    return oldValue;
}

void CControl::setDefaultValue(float newValue) {
    defaultValue = newValue;
}

float CControl::getDefaultValue() const {
    return defaultValue;
}

void CControl::setTag(std::int32_t newTag) {
    tag = newTag;
}

std::int32_t CControl::getTag() const {
    return tag;
}

void CControl::beginEdit() {
    if (parentFrame == nullptr) {
        return;
    }
    parentFrame->setFocusView(this);
    parentFrame->beginEdit(tag);
}

void CControl::endEdit() {
    if (parentFrame != nullptr) {
        parentFrame->endEdit(tag);
    }
}

void CControl::setBackOffset(const CPoint& offset) {
    backOffset = offset;
}

void CControl::copyBackOffset() {
    backOffset = size.topLeft();
}

void CControl::setWheelInc(float newValue) {
    wheelInc = newValue;
}

float CControl::getWheelInc() const {
    return wheelInc;
}

void CControl::bounceValue() {
    if (value > vmax) {
        value = vmax;
    } else if (value < vmin) {
        value = vmin;
    }
}

bool CControl::checkDefaultValue(CDrawContext* context, std::int32_t buttons) {
    if (buttons != (kControl | kLButton) || parentFrame == nullptr) {
        return false;
    }
    beginEdit();
    value = getDefaultValue();
    reportIfDirty(context);
    endEdit();
    return true;
}

bool CControl::acceptPress(CDrawContext* context, std::int32_t& buttons) {
    if (!bMouseEnabled) {
        return false;
    }
    if (buttons == -1 && context != nullptr) {
        buttons = context->getMouseButtons();
    }
    if (listener != nullptr && (buttons & kModifierMask) != 0 &&
        listener->controlModifierClicked(context, this, buttons) != 0) {
        return false;
    }
    return true;
}

void CControl::reportIfDirty(CDrawContext* context) {
    if (isDirty() && listener != nullptr) {
        listener->valueChanged(context, this);
    }
}

}  // namespace gui
