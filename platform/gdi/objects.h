// The typed objects behind GDI handles, and the table that turns handles into objects safely.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/geometry.h"
#include "platform/gdi/misuse.h"
#include "platform/subset/win32_gdi.h"

namespace platform {

class FontFace;

enum class ObjectKind { pen, brush, font, bitmap, region, deviceContext };

struct GdiObject {
    explicit GdiObject(ObjectKind objectKind) : kind(objectKind) {}
    virtual ~GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    const ObjectKind kind;
    bool stock = false;  // stock and system objects survive DeleteObject
};

struct Pen : GdiObject {
    Pen() : GdiObject(ObjectKind::pen) {}
    UINT style = PS_SOLID;
    COLORREF colour = 0;
};

struct Brush : GdiObject {
    Brush() : GdiObject(ObjectKind::brush) {}
    UINT style = BS_SOLID;
    COLORREF colour = 0;
};

struct Font : GdiObject {
    Font() : GdiObject(ObjectKind::font) {}
    LOGFONTA logical{};
    std::shared_ptr<FontFace> face;
};

struct Region : GdiObject {
    Region() : GdiObject(ObjectKind::region) {}
    Box box;
};

// A pixel store: 32-bit BGRA, or monochrome kept as 0x000000 (black) and 0xFFFFFF (white) per pixel.
struct Bitmap : GdiObject {
    Bitmap(int w, int h, int bits);
    ~Bitmap() override;

    std::uint32_t* row(int y) { return rowZero + static_cast<std::ptrdiff_t>(y) * rowStep; }
    const std::uint32_t* row(int y) const { return rowZero + static_cast<std::ptrdiff_t>(y) * rowStep; }
    Box bounds() const { return {0, 0, width, height}; }
    bool monochrome() const { return bitsPerPixel == 1; }

    const int width;
    const int height;
    const int bitsPerPixel;
    bool dibSection = false;
    std::uint32_t* pixels = nullptr;   // the whole store, in memory order
    std::uint32_t* rowZero = nullptr;  // the top row
    std::ptrdiff_t rowStep = 0;        // pixels from one row to the next one down; negative when bottom-up
    bool selected = false;             // a bitmap can be selected into one memory context at a time
};

// Handles to objects. Handles are never reused, so a deleted handle stays invalid.
void* addObject(std::shared_ptr<GdiObject> object);
std::shared_ptr<GdiObject> findObject(const void* handle);
bool removeObject(const void* handle);
// Objects and device contexts made and not yet deleted, stock objects aside: what a leak would grow.
std::size_t liveObjectCount();

// Looks a handle up; a missing, deleted or wrongly typed handle is reported as misuse and gives null.
template <class T>
std::shared_ptr<T> require(const void* handle, ObjectKind kind, const char* misuse) {
    std::shared_ptr<GdiObject> object = findObject(handle);
    if (!object || object->kind != kind) {
        reportMisuse(misuse);
        return nullptr;
    }
    return std::static_pointer_cast<T>(object);
}

std::shared_ptr<Bitmap> makeBitmap(int width, int height, int bitsPerPixel);
std::uint32_t pixelFromColour(COLORREF colour, bool monochrome);
COLORREF colourFromPixel(std::uint32_t pixel);

}  // namespace platform
