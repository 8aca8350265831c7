// CVerticalSwitch: one image of a vertical strip per position, chosen by the value or by the pointer.
#include <cstring>

#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/slider_and_switch.h"

namespace gui {

CVerticalSwitch::CVerticalSwitch(const CRect& rect, CControlListener* owner, std::int32_t identifier,
                                 std::int32_t images, std::int32_t imageHeight, std::int32_t positions,
                                 CBitmap* background, const CPoint& backgroundOffset)
    : CControl(rect, owner, identifier, background),
      offset(backgroundOffset),
      subPixmaps(images),
      heightOfOneImage(imageHeight),
      iMaxPositions(positions) {
    setDefaultValue(0.0f);
}

void CVerticalSwitch::draw(CDrawContext* context) {
    if (pBackground != nullptr && context != nullptr) {
        // The last image that both the strip's count and the bitmap itself hold.
        std::int32_t last = subPixmaps;
        if (heightOfOneImage > 0 && pBackground->getHeight() / heightOfOneImage < last) {
            last = pBackground->getHeight() / heightOfOneImage;
        }
        last = last > 0 ? last - 1 : 0;
        // Clamped while still a float, whatever the value holds (NaN included).
        float image = static_cast<float>(iMaxPositions - 1) * value + 0.5f;
        if (!(image >= 0.0f)) {
            image = 0.0f;
        }
        if (image > static_cast<float>(last)) {
            image = static_cast<float>(last);
        }
        const CPoint source(0, static_cast<std::int32_t>(image) * heightOfOneImage);
        if (bTransparencyEnabled) {
            pBackground->drawTransparent(context, size, source);
        } else {
            pBackground->draw(context, size, source);
        }
    }
    setDirty(false);
}

void CVerticalSwitch::mouse(CDrawContext* context, CPoint& where, std::int32_t buttons) {
    if (!bMouseEnabled || context == nullptr) {
        return;
    }
    if (buttons == -1) {
        buttons = context->getMouseButtons();
    }
    if ((buttons & kLButton) == 0) {
        return;
    }
    if (listener != nullptr && (buttons & kModifierMask) != 0 &&
        listener->controlModifierClicked(context, this, buttons) != 0) {
        return;
    }
    if (checkDefaultValue(context, buttons)) {
        return;
    }

    const float band = static_cast<float>(heightOfOneImage) / static_cast<float>(iMaxPositions);
    beginEdit();
    do {
        if (iMaxPositions > 1 && band > 0.0f) {
            // Clamped while still a float: the pointer may be far outside the switch.
            float index = static_cast<float>(where.v - size.top) / band;
            if (index < -1.0f) {
                index = -1.0f;
            }
            if (index > static_cast<float>(iMaxPositions)) {
                index = static_cast<float>(iMaxPositions);
            }
            value = static_cast<float>(static_cast<std::int32_t>(index)) / static_cast<float>(iMaxPositions - 1);
        } else {
            value = 0.0f;
        }
        if (value > 1.0f) {
            value = 1.0f;
        } else if (value < 0.0f) {
            value = 0.0f;
        }
        reportIfDirty(context);
        getMouseLocation(context, where);
        doIdleStuff();
    } while (context->getMouseButtons() == buttons);
    endEdit();
}

bool CVerticalSwitch::isTypeOf(const char* className) const {
    return (className != nullptr && std::strcmp(className, "CVerticalSwitch") == 0) || CControl::isTypeOf(className);
}

}  // namespace gui
