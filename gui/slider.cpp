// CSlider and CVerticalSlider: the handle composited over the track in an offscreen bitmap of the
// control's size, the drag with its fine mode, the wheel and the arrow keys.
#include <cstring>

#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/slider_and_switch.h"

namespace gui {
namespace {

constexpr std::int32_t kZeroAtStart = kLeft | kTop;
constexpr std::int32_t kInvertedMouse = kRight | kBottom;
constexpr float kFineStep = 0.1f;
constexpr unsigned char kShiftModifier = 1;
constexpr unsigned char kKeyLeft = 11;
constexpr unsigned char kKeyUp = 12;
constexpr unsigned char kKeyRight = 13;
constexpr unsigned char kKeyDown = 14;

}  // namespace

CSlider::CSlider(const CRect& rect, CControlListener* owner, std::int32_t identifier, std::int32_t minPosition,
                 std::int32_t maxPosition, CBitmap* handle, CBitmap* background, const CPoint& backgroundOffset,
                 std::int32_t sliderStyle)
    : CControl(rect, owner, identifier, background),
      offset(backgroundOffset),
      pHandle(handle),
      style(sliderStyle),
      rangeHandle(maxPosition - minPosition),
      minPos(minPosition - ((sliderStyle & kHorizontal) != 0 ? rect.left : rect.top)),
      widthControl(rect.width()),
      heightControl(rect.height()) {
    if (pHandle != nullptr) {
        pHandle->remember();
        widthOfSlider = pHandle->getWidth();
        heightOfSlider = pHandle->getHeight();
    }
    setOffsetHandle(CPoint(0, 0));
    setWantsFocus(true);
}

CVerticalSlider::CVerticalSlider(const CRect& rect, CControlListener* owner, std::int32_t identifier,
                                 std::int32_t minPosition, std::int32_t maxPosition, CBitmap* handle,
                                 CBitmap* background, const CPoint& backgroundOffset)
    : CSlider(rect, owner, identifier, minPosition, maxPosition, handle, background, backgroundOffset,
              kVertical | kBottom) {}

CSlider::~CSlider() {
    if (pHandle != nullptr) {
        pHandle->forget();
    }
    dropOffscreen();
}

void CSlider::dropOffscreen() {
    if (pOScreen != nullptr) {
        pOScreen->forget();
    }
    pOScreen = nullptr;
}

bool CSlider::attached(CView* /*parent*/) {
    dropOffscreen();
    pOScreen = new COffscreenContext(parentFrame, widthControl, heightControl, kBlackCColor);
    return true;
}

bool CSlider::removed(CView* /*parent*/) {
    dropOffscreen();
    return true;
}

std::int32_t CSlider::handlePosition() const {
    // Clamped while still a float: converting a value beyond the integer range is undefined, and the
    // handle must stay on its track whatever the host stored.
    float position = value;
    if (!(position >= 0.0f)) {
        position = 0.0f;  // NaN and everything below the travel
    }
    if (position > 1.0f) {
        position = 1.0f;
    }
    if ((style & kZeroAtStart) == 0) {
        position = 1.0f - position;
    }
    return static_cast<std::int32_t>(position * static_cast<float>(rangeHandle));
}

void CSlider::draw(CDrawContext* context) {
    if (context == nullptr) {
        return;
    }
    CDrawContext* target = pOScreen != nullptr ? pOScreen : context;
    if (pOScreen != nullptr && bTransparencyEnabled) {
        // Whatever lies beneath shows through the transparent parts of the images.
        BitBlt(pOScreen->getSystemContext(), 0, 0, size.width(), size.height(), context->getSystemContext(),
               size.left + context->offset.h, size.top + context->offset.v, SRCCOPY);
    }
    const CRect track = pOScreen != nullptr ? CRect(0, 0, widthControl, heightControl) : size;
    if (pBackground != nullptr) {
        if (bTransparencyEnabled) {
            pBackground->drawTransparent(target, track, offset);
        } else {
            pBackground->draw(target, track, offset);
        }
    }
    // Along the travel: from the offset plus the position, kept within minTmp and maxTmp; across it, the
    // handle's own size from the offset.
    std::int32_t start = (vertical() ? offsetHandle.v : offsetHandle.h) + handlePosition();
    if (start < minTmp) {
        start = minTmp;
    }
    std::int32_t end = start + (vertical() ? heightOfSlider : widthOfSlider);
    if (end > maxTmp) {
        end = maxTmp;
    }
    CRect handle;
    if (vertical()) {
        handle.left = offsetHandle.h;
        handle.right = handle.left + widthOfSlider;
        handle.top = start;
        handle.bottom = end;
    } else {
        handle.top = offsetHandle.v;
        handle.bottom = handle.top + heightOfSlider;
        handle.left = start;
        handle.right = end;
    }
    if (pOScreen == nullptr) {
        handle.offset(size.left, size.top);
    }
    if (pHandle != nullptr) {
        if (bDrawTransparentEnabled) {
            pHandle->drawTransparent(target, handle);
        } else {
            pHandle->draw(target, handle);
        }
    }
    if (pOScreen != nullptr) {
        pOScreen->copyFrom(context, size);
    }
    setDirty(false);
}

void CSlider::mouse(CDrawContext* context, CPoint& where, std::int32_t buttons) {
    if (context == nullptr || !acceptPress(context, buttons)) {
        return;
    }
    if (checkDefaultValue(context, buttons)) {
        return;
    }
    if ((buttons & kLButton) == 0) {
        return;
    }
    // The pointer's distance from the start of the travel, less the grip inside the handle.
    std::int32_t grip = vertical() ? size.top + offsetHandle.v : size.left + offsetHandle.h;
    if (bFreeClick) {
        grip += (vertical() ? heightOfSlider : widthOfSlider) / 2 - 1;
    } else {
        const std::int32_t position = handlePosition();
        CRect handle;
        handle.left = size.left + offsetHandle.h + (vertical() ? 0 : position);
        handle.top = size.top + offsetHandle.v + (vertical() ? position : 0);
        handle.right = handle.left + widthOfSlider;
        handle.bottom = handle.top + heightOfSlider;
        if (!where.isInside(handle)) {
            return;
        }
        grip += vertical() ? where.v - handle.top : where.h - handle.left;
    }

    float oldVal = value;
    std::int32_t oldButtons = buttons;
    beginEdit();
    while (((buttons = context->getMouseButtons()) & kLButton) != 0) {
        if (buttons != oldButtons && (buttons & kShift) != 0) {
            // Fine mode starts from where the value is now.
            oldButtons = buttons;
            oldVal = value;
        } else if ((buttons & kShift) == 0) {
            oldVal = value;
        }
        value = static_cast<float>((vertical() ? where.v : where.h) - grip) / static_cast<float>(rangeHandle);
        if ((style & kInvertedMouse) != 0) {
            value = 1.0f - value;
        }
        if ((buttons & kShift) != 0) {
            value = oldVal + (value - oldVal) / zoomFactor;
        }
        bounceValue();
        reportIfDirty(context);
        getMouseLocation(context, where);
        doIdleStuff();
    }
    endEdit();
}

bool CSlider::onWheel(CDrawContext* context, const CPoint& /*where*/, float distance) {
    if (!bMouseEnabled) {
        return false;
    }
    const std::int32_t buttons = context != nullptr ? context->getMouseButtons() : 0;
    if ((buttons & kShift) != 0) {
        value += wheelInc * distance * kFineStep;
    } else {
        value += wheelInc * distance;
    }
    bounceValue();
    if (isDirty() && listener != nullptr) {
        beginEdit();
        listener->valueChanged(context, this);
        endEdit();
    }
    return true;
}

std::int32_t CSlider::onKeyDown(VstKeyCode& keyCode) {
    float step = 0.0f;
    switch (keyCode.virt) {
        case kKeyLeft:
        case kKeyDown:
            step = -1.0f;
            break;
        case kKeyUp:
        case kKeyRight:
            step = 1.0f;
            break;
        default:
            return kKeyNotHandled;
    }
    if ((keyCode.modifier & kShiftModifier) != 0) {
        value += wheelInc * step * kFineStep;
    } else {
        value += wheelInc * step;
    }
    bounceValue();
    if (isDirty() && listener != nullptr) {
        beginEdit();
        listener->valueChanged(nullptr, this);
        endEdit();
    }
    return 1;
}

bool CSlider::isTypeOf(const char* className) const {
    return (className != nullptr && std::strcmp(className, "CSlider") == 0) || CControl::isTypeOf(className);
}

void CSlider::setDrawTransparentHandle(bool enabled) {
    bDrawTransparentEnabled = enabled;
}

void CSlider::setFreeClick(bool enabled) {
    bFreeClick = enabled;
}

bool CSlider::getFreeClick() const {
    return bFreeClick;
}

void CSlider::setOffsetHandle(const CPoint& point) {
    offsetHandle = point;
    if (vertical()) {
        minTmp = offsetHandle.v + minPos;
        maxTmp = minTmp + rangeHandle + heightOfSlider;
    } else {
        minTmp = offsetHandle.h + minPos;
        maxTmp = minTmp + rangeHandle + widthOfSlider;
    }
}

void CSlider::setHandle(CBitmap* handle) {
    // The new one first: setting the handle the slider already holds must not destroy it.
    if (handle != nullptr) {
        handle->remember();
    }
    if (pHandle != nullptr) {
        pHandle->forget();
    }
    pHandle = handle;
    if (pHandle != nullptr) {
        widthOfSlider = pHandle->getWidth();
        heightOfSlider = pHandle->getHeight();
    }
}

CBitmap* CSlider::getHandle() const {
    return pHandle;
}

void CSlider::setZoomFactor(float factor) {
    zoomFactor = factor;
}

float CSlider::getZoomFactor() const {
    return zoomFactor;
}

}  // namespace gui
