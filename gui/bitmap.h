// CBitmap: an image from the library's resources (PNG, else a Windows bitmap), drawn by its alpha or a colour key.
#pragma once

#include <cstdint>

#include "gui/types.h"
#include "platform/win32.h"

namespace gui {

class CDrawContext;

// The size of a PNG resource from its header, without decoding it (nothing is created); false when
// the resource is missing or not a PNG. Any thread.
bool resourceImageSize(std::int32_t resourceId, std::int32_t& width, std::int32_t& height);

// User-interface thread only; shared between views by reference count.
class CBitmap : public CReferenceCounter {
public:
    // Loads at once; an image that fails to load is 0 by 0 and draws nothing.
    explicit CBitmap(std::int32_t resourceId);
    ~CBitmap() override;

    // rect is where to draw and how much; offset is the top-left of that part inside the image.
    virtual void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint());
    virtual void drawTransparent(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint());
    virtual void drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(),
                                unsigned char alpha = 255);
    virtual void dispose();
    virtual bool loadFromResource(std::int32_t resourceId);
    virtual bool loadFromPath(const char* path);

    std::int32_t getWidth() const { return width; }
    std::int32_t getHeight() const { return height; }
    std::int32_t getResourceId() const { return resourceId; }
    HBITMAP getHandle() const { return image; }
    bool hasAlpha() const { return !noAlpha; }

private:
    void blit(CDrawContext* context, const CRect& rect, const CPoint& offset);
    void drawWithColourKey(CDrawContext* context, const CRect& rect, const CPoint& offset);

    std::int32_t resourceId;
    std::int32_t width = 0;
    std::int32_t height = 0;
    CColor transparentCColor = kTransparentCColor;
    bool noAlpha = true;
    HBITMAP image = nullptr;
    HBITMAP mask = nullptr;
};

}  // namespace gui
