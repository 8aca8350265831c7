// CParamDisplay: a control's value as text in a filled, outlined or bevelled box, with an optional shadow.
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/text_edit.h"

namespace gui {

CParamDisplay::CParamDisplay(const CRect& rect, CBitmap* background, std::int32_t displayStyle)
    : CControl(rect, nullptr, 0, background),
      horiTxtAlign(kCenterText),
      style(displayStyle),
      fontID(kNormalFont),
      fontColor(kWhiteCColor),
      backColor(kBlackCColor),
      frameColor(kBlackCColor),
      shadowColor(kRedCColor) {
    backOffset = CPoint(0, 0);
}

void CParamDisplay::valueToText(char* string) const {
    string[0] = '\0';
    if (stringConvert2 != nullptr) {
        stringConvert2(value, string, userData);
    } else if (stringConvert != nullptr) {
        stringConvert(value, string);
    } else {
        // Hosts may store anything; the display shows a number whatever the value holds.
        float shown = value;
        if (std::isnan(shown)) {
            shown = 0.0f;
        } else if (std::isinf(shown)) {
            shown = shown > 0.0f ? FLT_MAX : -FLT_MAX;
        }
        std::snprintf(string, kTextBufferSize, "%2.2f", static_cast<double>(shown));
    }
    string[kTextBufferSize - 1] = '\0';
}

void CParamDisplay::draw(CDrawContext* context) {
    char string[kTextBufferSize];
    valueToText(string);
    drawText(context, string);
}

void CParamDisplay::drawText(CDrawContext* context, const char* string, CBitmap* extraBackground) {
    setDirty(false);
    if ((style & kNoDrawStyle) != 0 || context == nullptr) {
        return;
    }
    CBitmap* image = extraBackground != nullptr ? extraBackground : pBackground;
    if (image != nullptr) {
        if (bTransparencyEnabled) {
            image->drawTransparent(context, size, backOffset);
        } else {
            image->draw(context, size, backOffset);
        }
    } else if (!bTransparencyEnabled) {
        context->setFillColor(backColor);
        context->fillRect(size);
        if ((style & (kNoFrame | k3DIn | k3DOut)) == 0) {
            context->setFrameColor(frameColor);
            context->drawRect(size);
        }
    }
    if ((style & (k3DIn | k3DOut)) != 0) {
        context->setLineWidth(1);
        const CRect r(size.left, size.top + 1, size.right - 1, size.bottom - 1);
        const bool in = (style & k3DIn) != 0;
        context->setFrameColor(in ? backColor : frameColor);
        const CPoint lit[] = {{r.left, r.bottom}, {r.left, r.top}, {r.left, r.top}, {r.right, r.top}};
        context->drawLines(lit, 2);
        context->setFrameColor(in ? frameColor : backColor);
        const CPoint shaded[] = {{r.right, r.top}, {r.right, r.bottom}, {r.right, r.bottom}, {r.left, r.bottom}};
        context->drawLines(shaded, 2);
    }
    if ((style & kNoTextStyle) != 0 || string == nullptr) {
        return;
    }
    CRect kept;
    context->getClipRect(kept);
    CRect clip = size;
    context->setClipRect(clip.bound(kept));
    context->setFont(fontID, txtFace);
    if ((style & kShadowText) != 0) {
        context->setFontColor(shadowColor);
        CRect shadow = size;
        context->drawString(string, shadow.offset(1, 1), !bTextTransparencyEnabled, horiTxtAlign);
    }
    context->setFontColor(fontColor);
    context->drawString(string, size, !bTextTransparencyEnabled, horiTxtAlign);
    context->setClipRect(kept);
}

bool CParamDisplay::isTypeOf(const char* className) const {
    return (className != nullptr && std::strcmp(className, "CParamDisplay") == 0) || CControl::isTypeOf(className);
}

void CParamDisplay::setFont(std::int32_t id) {
    if (id == fontID) {
        return;
    }
    fontID = id;
    setDirty(true);
}

void CParamDisplay::setFontColor(const CColor& color) {
    if (color == fontColor) {
        return;
    }
    fontColor = color;
    setDirty(true);
}

void CParamDisplay::setBackColor(const CColor& color) {
    if (color == backColor) {
        return;
    }
    backColor = color;
    setDirty(true);
}

void CParamDisplay::setFrameColor(const CColor& color) {
    if (color == frameColor) {
        return;
    }
    frameColor = color;
    setDirty(true);
}

void CParamDisplay::setShadowColor(const CColor& color) {
    if (color == shadowColor) {
        return;
    }
    shadowColor = color;
    setDirty(true);
}

void CParamDisplay::setHoriAlign(std::int32_t alignment) {
    if (alignment == horiTxtAlign) {
        return;
    }
    horiTxtAlign = alignment;
    setDirty(true);
}

void CParamDisplay::setStringConvert(StringConvertFunction2 convert, void* data) {
    stringConvert2 = convert;
    userData = data;
}

void CParamDisplay::setStringConvert(StringConvertFunction convert) {
    stringConvert = convert;
}

void CParamDisplay::setString2FloatConvert(String2FloatConvertFunction convert) {
    string2FloatConvert = convert;
}

void CParamDisplay::setStyle(std::int32_t newStyle) {
    if (newStyle == style) {
        return;
    }
    style = newStyle;
    setDirty(true);
}

void CParamDisplay::setTxtFace(std::int32_t face) {
    if (face == txtFace) {
        return;
    }
    txtFace = face;
    setDirty(true);
}

void CParamDisplay::setTextTransparency(bool enabled) {
    bTextTransparencyEnabled = enabled;
}

}  // namespace gui
