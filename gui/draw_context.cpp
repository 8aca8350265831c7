// CDrawContext: the toolkit's state over a GDI device context, changed only when a value changes.
#include "gui/draw_context.h"

#include <cstring>

#include "gui/frame.h"
#include "gui/system_state.h"

namespace gui {

const StandardFont kStandardFonts[kNumStandardFonts] = {
    {"Arial", 12}, {"Arial", 18}, {"Arial", 14}, {"Arial", 12},
    {"Arial", 11}, {"Arial", 10}, {"Arial", 9},  {"Symbol", 13},
};

namespace {

CRect initialClip(CFrame* frame) {
    CRect clip(0, 0, 1000, 1000);
    if (frame != nullptr) {
        frame->getViewSize(clip);
    }
    return clip;
}

RECT deviceRect(const CRect& rect, const CPoint& offset) {
    return {rect.left + offset.h, rect.top + offset.v, rect.right + offset.h, rect.bottom + offset.v};
}

bool down(int key) {
    return GetAsyncKeyState(key) < 0;
}

}  // namespace

CDrawContext::CDrawContext(CFrame* owner, WithoutDevice) : frame(owner), clipRect(initialClip(owner)) {
    applyDefaults();  // recorded only, until a device context is adopted
}

CDrawContext::CDrawContext(CFrame* owner, HDC context, HWND ownerWindow)
    : window(ownerWindow), frame(owner), clipRect(initialClip(owner)) {
    if (context == nullptr && window != nullptr) {
        context = ownContext = GetDC(window);
    }
    takeDevice(context);
    if (window != nullptr) {
        RECT bounds{};
        if (GetWindowRect(window, &bounds)) {
            offsetScreen = CPoint(bounds.left, bounds.top);
        }
    }
    applyDefaults();
}

void CDrawContext::applyDefaults() {
    setFrameColor(kWhiteCColor);
    setLineStyle(kSolidLine);
    setLineWidth(1);
    setFillColor(kBlackCColor);
    setFontColor(kWhiteCColor);
    setFont(kSystemFont, 0);
    setDrawMode(kCopyMode);
}

CDrawContext::~CDrawContext() {
    releaseDeviceObjects();
    if (ownContext != nullptr) {
        ReleaseDC(window, ownContext);
    }
}

void CDrawContext::releaseDeviceObjects() {
    if (systemContext != nullptr) {
        if (previousBrush != nullptr) {
            SelectObject(systemContext, previousBrush);
        }
        if (previousPen != nullptr) {
            SelectObject(systemContext, previousPen);
        }
        if (previousFont != nullptr) {
            SelectObject(systemContext, previousFont);
        }
    }
    previousBrush = previousPen = previousFont = nullptr;
    if (brush != nullptr) {
        DeleteObject(brush);
    }
    if (pen != nullptr) {
        DeleteObject(pen);
    }
    if (font != nullptr) {
        DeleteObject(font);
    }
    brush = nullptr;
    pen = nullptr;
    font = nullptr;
}

void CDrawContext::replacePen() {
    if (systemContext == nullptr) {
        return;
    }
    const LOGPEN record{penStyle, {lineWidth, lineWidth}, frameColor.colorRef()};
    HPEN created = CreatePenIndirect(&record);
    SelectObject(systemContext, created);
    if (pen != nullptr) {
        DeleteObject(pen);
    }
    pen = created;
}

void CDrawContext::setFrameColor(const CColor& color) {
    if (color == frameColor) {
        return;
    }
    frameColor = color;
    replacePen();
}

void CDrawContext::setLineWidth(std::int32_t width) {
    if (width == lineWidth) {
        return;
    }
    lineWidth = width;
    replacePen();
}

void CDrawContext::setLineStyle(std::int32_t style) {
    if (style == lineStyle) {
        return;
    }
    lineStyle = style;
    // Only solid lines are drawn: no view of this toolkit asks for dashes.
    penStyle = PS_SOLID;
    replacePen();
}

void CDrawContext::setFillColor(const CColor& color) {
    if (color == fillColor) {
        return;
    }
    fillColor = color;
    applyFill();
}

void CDrawContext::applyFill() {
    if (systemContext == nullptr) {
        return;
    }
    SetBkColor(systemContext, fillColor.colorRef());
    const LOGBRUSH record{BS_SOLID, fillColor.colorRef(), 0};
    // A brush that cannot be made leaves the previous one in use.
    if (HBRUSH created = CreateBrushIndirect(&record)) {
        SelectObject(systemContext, created);
        if (brush != nullptr) {
            DeleteObject(brush);
        }
        brush = created;
    }
}

void CDrawContext::setFontColor(const CColor& color) {
    fontColor = color;
    if (systemContext != nullptr) {
        SetTextColor(systemContext, color.colorRef());
    }
}

void CDrawContext::setDrawMode(std::int32_t mode) {
    if (mode == drawMode) {
        return;
    }
    drawMode = mode;
    applyDrawMode();
}

void CDrawContext::applyDrawMode() {
    if (systemContext != nullptr && drawMode == kCopyMode) {
        SetROP2(systemContext, R2_COPYPEN);
    }
}

void CDrawContext::setFont(std::int32_t id, std::int32_t style) {
    if (id < 0 || id >= kNumStandardFonts) {
        id = kSystemFont;
    }
    const StandardFont& standard = kStandardFonts[id];
    if (id == fontId && standard.size == fontSize && style == fontStyle) {
        return;
    }
    fontId = id;
    fontSize = standard.size;
    fontStyle = style;
    applyFont();
}

void CDrawContext::applyFont() {
    if (systemContext == nullptr || fontId < 0 || fontId >= kNumStandardFonts) {
        return;
    }
    const StandardFont& standard = kStandardFonts[fontId];
    LOGFONTA record{};
    record.lfHeight = -standard.size;
    record.lfWeight = (fontStyle & kBoldFace) != 0 || fontId == kSystemFont ? FW_BOLD : FW_NORMAL;
    record.lfItalic = (fontStyle & kItalicFace) != 0 ? 1 : 0;
    record.lfUnderline = (fontStyle & kUnderlineFace) != 0 ? 1 : 0;
    record.lfPitchAndFamily = fontId == kSymbolFont ? DEFAULT_PITCH | FF_DECORATIVE : VARIABLE_PITCH | FF_SWISS;
    record.lfOutPrecision = OUT_STRING_PRECIS;
    record.lfClipPrecision = CLIP_STROKE_PRECIS;
    record.lfQuality = DEFAULT_QUALITY;
    record.lfCharSet = ANSI_CHARSET;
    std::strncpy(record.lfFaceName, standard.face, sizeof record.lfFaceName - 1);
    HFONT created = CreateFontIndirectA(&record);
    SelectObject(systemContext, created);
    if (font != nullptr) {
        DeleteObject(font);
    }
    font = created;
}

void CDrawContext::takeDevice(HDC context) {
    systemContext = context;
    if (systemContext == nullptr) {
        return;
    }
    previousBrush = GetCurrentObject(systemContext, OBJ_BRUSH);
    previousPen = GetCurrentObject(systemContext, OBJ_PEN);
    previousFont = GetCurrentObject(systemContext, OBJ_FONT);
    SetBkMode(systemContext, TRANSPARENT);
}

void CDrawContext::adoptDevice(HDC context) {
    takeDevice(context);
    if (systemContext == nullptr) {
        return;
    }
    replacePen();
    applyFill();
    SetTextColor(systemContext, fontColor.colorRef());
    applyFont();
    applyDrawMode();
}

void CDrawContext::setClipRect(const CRect& clip) {
    CRect device = clip;
    device.offset(offset.h, offset.v);
    if (device == clipRect) {
        return;
    }
    clipRect = device;
    if (systemContext == nullptr) {
        return;
    }
    HRGN region = CreateRectRgn(device.left, device.top, device.right, device.bottom);
    SelectClipRgn(systemContext, region);
    DeleteObject(region);
}

CRect& CDrawContext::getClipRect(CRect& clip) const {
    clip = clipRect;
    clip.offset(-offset.h, -offset.v);
    return clip;
}

void CDrawContext::drawLines(const CPoint* points, std::int32_t count) {
    if (systemContext == nullptr || points == nullptr) {
        return;
    }
    for (std::int32_t i = 0; i < count; ++i) {
        const CPoint& from = points[2 * i];
        const CPoint& to = points[2 * i + 1];
        MoveToEx(systemContext, from.h + offset.h, from.v + offset.v, nullptr);
        LineTo(systemContext, to.h + offset.h, to.v + offset.v);
    }
}

void CDrawContext::drawRect(const CRect& rect) {
    if (systemContext == nullptr) {
        return;
    }
    const RECT r = deviceRect(rect, offset);
    MoveToEx(systemContext, r.left, r.top, nullptr);
    LineTo(systemContext, r.right - 1, r.top);
    LineTo(systemContext, r.right - 1, r.bottom - 1);
    LineTo(systemContext, r.left, r.bottom - 1);
    LineTo(systemContext, r.left, r.top);
}

void CDrawContext::fillRect(const CRect& rect) {
    if (systemContext == nullptr) {
        return;
    }
    RECT r = deviceRect(rect, offset);
    ++r.left;
    ++r.top;
    HGDIOBJ kept = SelectObject(systemContext, GetStockObject(NULL_PEN));
    FillRect(systemContext, &r, brush);
    SelectObject(systemContext, kept);
}

void CDrawContext::drawString(const char* text, const CRect& rect, bool opaque, std::int32_t alignment) {
    if (text == nullptr || systemContext == nullptr) {
        return;
    }
    SetBkMode(systemContext, opaque ? OPAQUE : TRANSPARENT);
    RECT r = deviceRect(rect, offset);
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (alignment == kCenterText) {
        format |= DT_CENTER;
    } else if (alignment == kRightText) {
        format |= DT_RIGHT;
    } else {
        format |= DT_LEFT;
        ++r.left;
    }
    DrawTextA(systemContext, text, static_cast<int>(std::strlen(text)), &r, format);
    SetBkMode(systemContext, TRANSPARENT);
}

std::int32_t CDrawContext::getMouseButtons() {
    // A frame that the host closed during a gesture ends the gesture: no button is held any more.
    if (frame != nullptr && frame->isReleasing()) {
        return 0;
    }
    // A press is handled with the buttons of its message: they may be up again by now.
    if (frame != nullptr && frame->getPressButtons() >= 0) {
        return frame->getPressButtons();
    }
    std::int32_t buttons = 0;
    const bool left = down(VK_LBUTTON);
    const bool right = down(VK_RBUTTON);
    if (system::swappedMouseButtons ? right : left) {
        buttons |= kLButton;
    }
    if (down(VK_MBUTTON)) {
        buttons |= kMButton;
    }
    if (system::swappedMouseButtons ? left : right) {
        buttons |= kRButton;
    }
    if (down(VK_SHIFT)) {
        buttons |= kShift;
    }
    if (down(VK_CONTROL)) {
        buttons |= kControl;
    }
    if (down(VK_MENU)) {
        buttons |= kAlt;
    }
    return buttons;
}

void CDrawContext::getMouseLocation(CPoint& point) {
    POINT cursor{};
    GetCursorPos(&cursor);
    point = CPoint(cursor.x - offsetScreen.h, cursor.y - offsetScreen.v);
}

}  // namespace gui
