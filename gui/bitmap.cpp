// CBitmap: loading from the module's resources and drawing by per-pixel alpha, plain copy or colour key.
#include "gui/bitmap.h"

#include "gui/draw_context.h"
#include "gui/png_reader.h"
#include "gui/system_state.h"
#include "platform/module_instance.h"

namespace gui {
namespace {

HMODULE ownModule() {
    return static_cast<HMODULE>(hInstance);
}

LPCSTR resourceName(std::int32_t id) {
    return reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(id)));
}

// A memory context with the image selected, for as long as one drawing lasts.
class SelectedImage {
public:
    SelectedImage(HDC compatibleWith, HBITMAP image) : dc(CreateCompatibleDC(compatibleWith)) {
        if (dc != nullptr) {
            previous = SelectObject(dc, image);
        }
    }
    ~SelectedImage() {
        if (dc == nullptr) {
            return;
        }
        SelectObject(dc, previous);
        DeleteDC(dc);
    }
    SelectedImage(const SelectedImage&) = delete;
    SelectedImage& operator=(const SelectedImage&) = delete;
    HDC dc;

private:
    HGDIOBJ previous = nullptr;
};

// Where a drawing lands: the context's device, the rectangle moved by its drawing offset, and the size.
struct Destination {
    Destination(CDrawContext* context, const CRect& rect)
        : dc(context->getSystemContext()),
          x(rect.left + context->offset.h),
          y(rect.top + context->offset.v),
          w(rect.width()),
          h(rect.height()) {}
    HDC dc;
    int x;
    int y;
    int w;
    int h;
};

}  // namespace

bool resourceImageSize(std::int32_t id, std::int32_t& width, std::int32_t& height) {
    HRSRC resource = FindResourceA(ownModule(), resourceName(id), "PNG");
    if (resource == nullptr) {
        return false;
    }
    const DWORD size = SizeofResource(ownModule(), resource);
    HGLOBAL loaded = LoadResource(ownModule(), resource);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    return data != nullptr && readPngSize(data, size, width, height);
}

CBitmap::CBitmap(std::int32_t id) : resourceId(id) {
    loadFromResource(id);
    transparentCColor = kTransparentCColor;
}

CBitmap::~CBitmap() {
    dispose();
}

void CBitmap::dispose() {
    if (image != nullptr) {
        DeleteObject(image);
    }
    if (mask != nullptr) {
        DeleteObject(mask);
    }
    image = mask = nullptr;
    noAlpha = false;
    width = height = 0;
}

bool CBitmap::loadFromPath(const char* /*path*/) {
    dispose();
    return false;
}

bool CBitmap::loadFromResource(std::int32_t id) {
    dispose();
    resourceId = id;
    if (HRSRC resource = FindResourceA(ownModule(), resourceName(id), "PNG")) {
        const DWORD size = SizeofResource(ownModule(), resource);
        HGLOBAL loaded = LoadResource(ownModule(), resource);
        const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
        if (data != nullptr) {
            const PngImage png = readPngImage(data, size);
            image = png.image;
            width = png.width;
            height = png.height;
            noAlpha = false;
            return true;
        }
    }
    HBITMAP bitmap = LoadBitmapA(ownModule(), resourceName(id));
    if (bitmap == nullptr) {
        return false;
    }
    image = bitmap;
    BITMAP record{};
    if (GetObjectA(bitmap, sizeof record, &record) == 0) {
        return false;
    }
    width = record.bmWidth;
    height = record.bmHeight;
    noAlpha = true;
    return true;
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset) {
    if (!noAlpha) {
        drawAlphaBlend(context, rect, offset, 255);
    } else {
        blit(context, rect, offset);
    }
}

void CBitmap::drawTransparent(CDrawContext* context, const CRect& rect, const CPoint& offset) {
    if (!noAlpha) {
        drawAlphaBlend(context, rect, offset, 255);
    } else {
        drawWithColourKey(context, rect, offset);
    }
}

void CBitmap::blit(CDrawContext* context, const CRect& rect, const CPoint& offset) {
    if (image == nullptr || context == nullptr) {
        return;
    }
    const Destination to(context, rect);
    SelectedImage source(to.dc, image);
    BitBlt(to.dc, to.x, to.y, to.w, to.h, source.dc, offset.h, offset.v, SRCCOPY);
}

void CBitmap::drawWithColourKey(CDrawContext* context, const CRect& rect, const CPoint& offset) {
    if (image == nullptr || context == nullptr) {
        return;
    }
    const Destination to(context, rect);
    const int w = to.w;
    const int h = to.h;
    const COLORREF key = transparentCColor.colorRef();
    SelectedImage source(to.dc, image);
    if (system::transparentBlt != nullptr) {
        system::transparentBlt(to.dc, to.x, to.y, w, h, source.dc, offset.h, offset.v, w, h, key);
        return;
    }
    // Without TransparentBlt: a mask that is 1 where the image has the key, and three raster operations
    // that leave the destination alone there and copy the image everywhere else.
    HBITMAP keyMask = CreateBitmap(w, h, 1, 1, nullptr);
    {
        SelectedImage maskContext(to.dc, keyMask);
        const COLORREF sourceBackground = SetBkColor(source.dc, key);
        BitBlt(maskContext.dc, 0, 0, w, h, source.dc, offset.h, offset.v, SRCCOPY);
        SetBkColor(source.dc, sourceBackground);
        const COLORREF background = SetBkColor(to.dc, RGB(255, 255, 255));
        const COLORREF text = SetTextColor(to.dc, RGB(0, 0, 0));
        BitBlt(to.dc, to.x, to.y, w, h, source.dc, offset.h, offset.v, SRCINVERT);
        BitBlt(to.dc, to.x, to.y, w, h, maskContext.dc, 0, 0, SRCAND);
        BitBlt(to.dc, to.x, to.y, w, h, source.dc, offset.h, offset.v, SRCINVERT);
        SetBkColor(to.dc, background);
        SetTextColor(to.dc, text);
    }
    DeleteObject(keyMask);
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset, unsigned char alpha) {
    // Without the blending library an image with alpha cannot be drawn faithfully, so it is not drawn.
    if (image == nullptr || context == nullptr || system::alphaBlend == nullptr) {
        return;
    }
    const Destination to(context, rect);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, static_cast<BYTE>(noAlpha ? 0 : AC_SRC_ALPHA)};
    SelectedImage source(to.dc, image);
    if (!system::blendsFromOriginOnly()) {
        system::alphaBlend(to.dc, to.x, to.y, to.w, to.h, source.dc, offset.h, offset.v, to.w, to.h, blend);
        return;
    }
    HBITMAP part = CreateCompatibleBitmap(source.dc, to.w, to.h);
    {
        SelectedImage partContext(to.dc, part);
        BitBlt(partContext.dc, 0, 0, to.w, to.h, source.dc, offset.h, offset.v, SRCCOPY);
        system::alphaBlend(to.dc, to.x, to.y, to.w, to.h, partContext.dc, 0, 0, to.w, to.h, blend);
    }
    DeleteObject(part);
}

}  // namespace gui
