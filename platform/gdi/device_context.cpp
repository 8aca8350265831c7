// Device-context creation, object selection, modes and clip regions.
#include "platform/gdi/device_context.h"

namespace platform {
namespace {

HGDIOBJ defaultBitmapHandle() {
    // Every new memory context holds this 1 x 1 monochrome bitmap until another one is selected.
    static const HGDIOBJ handle = [] {
        auto bitmap = makeBitmap(1, 1, 1);
        bitmap->stock = true;
        return addObject(std::move(bitmap));
    }();
    return handle;
}

void selectDefaults(DeviceContext& context) {
    context.penHandle = GetStockObject(BLACK_PEN);
    context.brushHandle = GetStockObject(WHITE_BRUSH);
    context.fontHandle = GetStockObject(SYSTEM_FONT);
    context.pen = std::static_pointer_cast<Pen>(findObject(context.penHandle));
    context.brush = std::static_pointer_cast<Brush>(findObject(context.brushHandle));
    context.font = std::static_pointer_cast<Font>(findObject(context.fontHandle));
}

constexpr COLORREF kInvalidColour = 0xFFFFFFFFu;

// Stores a setting of the context and answers the previous one, or the failure value for a bad handle.
template <class Value>
Value replaceSetting(HDC dc, Value DeviceContext::*setting, Value value, Value failure, const char* misuse) {
    auto context = requireContext(dc, misuse);
    if (!context) {
        return failure;
    }
    const Value previous = (*context).*setting;
    (*context).*setting = value;
    return previous;
}

}  // namespace

void DeviceContext::updateClip() {
    effectiveClip = clip ? intersect(visible, clip->moved(originX, originY)) : visible;
}

std::shared_ptr<DeviceContext> requireContext(HDC dc, const char* misuse) {
    return require<DeviceContext>(dc, ObjectKind::deviceContext, misuse);
}

HDC createWindowContext(std::shared_ptr<Bitmap> surface, int originX, int originY, BoxList visible) {
    auto context = std::make_shared<DeviceContext>();
    selectDefaults(*context);
    context->target = std::move(surface);
    context->originX = originX;
    context->originY = originY;
    context->visible = std::move(visible);
    context->updateClip();
    return static_cast<HDC>(addObject(std::move(context)));
}

void restrictWindowContext(HDC dc, const Box& deviceArea) {
    if (auto context = requireContext(dc, "not a window context")) {
        context->visible = intersect(context->visible, deviceArea.moved(context->originX, context->originY));
        context->updateClip();
    }
}

void destroyWindowContext(HDC dc) {
    removeObject(dc);
}

}  // namespace platform

using namespace platform;

extern "C" {

HDC CreateCompatibleDC(HDC dc) {
    if (dc != nullptr && !requireContext(dc, "CreateCompatibleDC: not a device context")) {
        return nullptr;
    }
    auto context = std::make_shared<DeviceContext>();
    context->memory = true;
    selectDefaults(*context);
    context->bitmapHandle = defaultBitmapHandle();
    context->target = std::static_pointer_cast<Bitmap>(findObject(context->bitmapHandle));
    context->visible = {context->target->bounds()};
    context->updateClip();
    return static_cast<HDC>(addObject(std::move(context)));
}

BOOL DeleteDC(HDC dc) {
    auto context = requireContext(dc, "DeleteDC: not a device context");
    if (!context || !context->memory) {
        if (context) {
            reportMisuse("DeleteDC: window contexts are released with ReleaseDC");
        }
        return FALSE;
    }
    if (context->target) {
        context->target->selected = false;
    }
    removeObject(dc);
    return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    auto context = requireContext(dc, "SelectObject: not a device context");
    std::shared_ptr<GdiObject> found = findObject(object);
    if (!context || !found) {
        if (context) {
            reportMisuse("SelectObject: not a GDI object");
        }
        return nullptr;
    }
    HGDIOBJ previous = nullptr;
    switch (found->kind) {
        case ObjectKind::pen:
            previous = context->penHandle;
            context->pen = std::static_pointer_cast<Pen>(found);
            context->penHandle = object;
            return previous;
        case ObjectKind::brush:
            previous = context->brushHandle;
            context->brush = std::static_pointer_cast<Brush>(found);
            context->brushHandle = object;
            return previous;
        case ObjectKind::font:
            previous = context->fontHandle;
            context->font = std::static_pointer_cast<Font>(found);
            context->fontHandle = object;
            return previous;
        case ObjectKind::bitmap: {
            auto bitmap = std::static_pointer_cast<Bitmap>(found);
            if (!context->memory || (bitmap->selected && bitmap != context->target)) {
                return nullptr;
            }
            previous = context->bitmapHandle;
            context->target->selected = false;
            context->target = bitmap;
            bitmap->selected = !bitmap->stock;
            context->bitmapHandle = object;
            context->visible = {bitmap->bounds()};
            context->clip.reset();
            context->updateClip();
            return previous;
        }
        case ObjectKind::region:
            return reinterpret_cast<HGDIOBJ>(static_cast<INT_PTR>(SelectClipRgn(dc, static_cast<HRGN>(object))));
        case ObjectKind::deviceContext:
            break;
    }
    reportMisuse("SelectObject: a device context cannot be selected");
    return nullptr;
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type) {
    auto context = requireContext(dc, "GetCurrentObject: not a device context");
    if (!context) {
        return nullptr;
    }
    switch (type) {
        case OBJ_PEN:
            return context->penHandle;
        case OBJ_BRUSH:
            return context->brushHandle;
        case OBJ_FONT:
            return context->fontHandle;
        case OBJ_BITMAP:
            return context->bitmapHandle;
        default:
            return nullptr;
    }
}

int SetBkMode(HDC dc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) {
        return 0;
    }
    return replaceSetting(dc, &DeviceContext::backgroundMode, mode, 0, "SetBkMode: not a device context");
}

COLORREF SetBkColor(HDC dc, COLORREF colour) {
    return replaceSetting(dc, &DeviceContext::backgroundColour, colour & 0xFFFFFFu, kInvalidColour,
                          "SetBkColor: not a device context");
}

COLORREF SetTextColor(HDC dc, COLORREF colour) {
    return replaceSetting(dc, &DeviceContext::textColour, colour & 0xFFFFFFu, kInvalidColour,
                          "SetTextColor: not a device context");
}

int SetROP2(HDC dc, int mode) {
    constexpr int kFirstMixMode = 1;
    constexpr int kLastMixMode = 16;
    if (mode < kFirstMixMode || mode > kLastMixMode) {
        return 0;
    }
    return replaceSetting(dc, &DeviceContext::mixMode, mode, 0, "SetROP2: not a device context");
}

int SelectClipRgn(HDC dc, HRGN region) {
    auto context = requireContext(dc, "SelectClipRgn: not a device context");
    if (!context) {
        return ERROR;
    }
    if (region == nullptr) {
        context->clip.reset();
    } else {
        auto found = require<Region>(region, ObjectKind::region, "SelectClipRgn: not a region");
        if (!found) {
            return ERROR;
        }
        // The context keeps a copy, so the caller may delete the region at once.
        context->clip = found->box;
    }
    context->updateClip();
    if (context->effectiveClip.empty()) {
        return NULLREGION;
    }
    return context->effectiveClip.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // extern "C"

extern "C" {

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    auto context = requireContext(dc, "CreateCompatibleBitmap: not a device context");
    if (!context || width <= 0 || height <= 0) {
        return nullptr;
    }
    // A memory context that still holds its 1 x 1 default bitmap is monochrome, as on Windows.
    return static_cast<HBITMAP>(addObject(makeBitmap(width, height, context->monochrome() ? 1 : 32)));
}

}  // extern "C"
