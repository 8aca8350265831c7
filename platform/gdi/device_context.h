// Device contexts: a target bitmap, the origin and visible area in it, the selected objects and modes.
#pragma once

#include <memory>
#include <optional>

#include "platform/gdi/objects.h"

namespace platform {

struct DeviceContext : GdiObject {
    DeviceContext() : GdiObject(ObjectKind::deviceContext) {}

    bool memory = false;
    std::shared_ptr<Bitmap> target;  // the selected bitmap, or the surface of the window's top-level window
    int originX = 0;                 // where device (0, 0) lies in the target
    int originY = 0;
    BoxList visible;          // in target coordinates: what the context may touch at all
    std::optional<Box> clip;  // the selected clip region, in device coordinates
    BoxList effectiveClip;    // visible and clip combined, in target coordinates
    std::shared_ptr<Pen> pen;
    std::shared_ptr<Brush> brush;
    std::shared_ptr<Font> font;
    HGDIOBJ penHandle = nullptr;
    HGDIOBJ brushHandle = nullptr;
    HGDIOBJ fontHandle = nullptr;
    HGDIOBJ bitmapHandle = nullptr;
    int backgroundMode = OPAQUE;
    COLORREF backgroundColour = RGB(255, 255, 255);
    COLORREF textColour = RGB(0, 0, 0);
    int mixMode = R2_COPYPEN;
    POINT position{0, 0};

    void updateClip();
    bool monochrome() const { return target && target->monochrome(); }
};

std::shared_ptr<DeviceContext> requireContext(HDC dc, const char* misuse);

// Fills a rectangle given in device coordinates, clipped, with one pixel value.
void fillDeviceBox(DeviceContext& context, const Box& box, std::uint32_t pixel);

// Contexts the window system hands out over a window's part of a surface, and takes back.
HDC createWindowContext(std::shared_ptr<Bitmap> surface, int originX, int originY, BoxList visible);
void restrictWindowContext(HDC dc, const Box& deviceArea);
void destroyWindowContext(HDC dc);

}  // namespace platform
