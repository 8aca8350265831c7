// The GDI handle table, object creation and deletion, stock objects and bitmaps.
#include "platform/gdi/objects.h"

#include <cstring>
#include <unordered_map>

#include "platform/gdi/font_engine.h"

namespace platform {
namespace {

// Handles start above the values small integers and resource ids take, and step by 16 so that no
// handle is mistaken for another when a caller adds a small offset by mistake.
constexpr std::uintptr_t kFirstHandle = 0x10000;
constexpr std::uintptr_t kHandleStep = 16;

struct HandleTable {
    std::unordered_map<std::uintptr_t, std::shared_ptr<GdiObject>> objects;
    std::uintptr_t next = kFirstHandle;
};

HandleTable& table() {
    static HandleTable handles;
    return handles;
}

std::shared_ptr<GdiObject> makeStockPen(UINT style, COLORREF colour) {
    auto pen = std::make_shared<Pen>();
    pen->style = style;
    pen->colour = colour;
    pen->stock = true;
    return pen;
}

std::shared_ptr<GdiObject> makeStockBrush(UINT style, COLORREF colour) {
    auto brush = std::make_shared<Brush>();
    brush->style = style;
    brush->colour = colour;
    brush->stock = true;
    return brush;
}

std::shared_ptr<GdiObject> makeStockFont() {
    // Stands in for Windows' bold "System" font with its 16-pixel cell.
    constexpr LONG kSystemFontCellHeight = 16;
    auto font = std::make_shared<Font>();
    font->logical.lfHeight = kSystemFontCellHeight;
    font->logical.lfWeight = FW_BOLD;
    std::strcpy(font->logical.lfFaceName, "Arial");
    font->face = FontFace::open(font->logical);
    font->stock = true;
    return font;
}

}  // namespace

Bitmap::Bitmap(int w, int h, int bits) : GdiObject(ObjectKind::bitmap), width(w), height(h), bitsPerPixel(bits) {
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    pixels = new std::uint32_t[count == 0 ? 1 : count]();
    rowZero = pixels;
    rowStep = width;
}

Bitmap::~Bitmap() {
    delete[] pixels;
}

void* addObject(std::shared_ptr<GdiObject> object) {
    HandleTable& handles = table();
    const std::uintptr_t handle = handles.next;
    handles.next += kHandleStep;
    handles.objects.emplace(handle, std::move(object));
    return reinterpret_cast<void*>(handle);
}

std::shared_ptr<GdiObject> findObject(const void* handle) {
    HandleTable& handles = table();
    auto found = handles.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    return found == handles.objects.end() ? nullptr : found->second;
}

std::size_t liveObjectCount() {
    std::size_t count = 0;
    for (const auto& entry : table().objects) {
        count += entry.second->stock ? 0 : 1;
    }
    return count;
}

bool removeObject(const void* handle) {
    return table().objects.erase(reinterpret_cast<std::uintptr_t>(handle)) > 0;
}

std::shared_ptr<Bitmap> makeBitmap(int width, int height, int bitsPerPixel) {
    return std::make_shared<Bitmap>(width, height, bitsPerPixel);
}

std::uint32_t pixelFromColour(COLORREF colour, bool monochrome) {
    if (monochrome) {
        // Monochrome targets take the nearer of black and white.
        const unsigned sum = 2u * GetRValue(colour) + 5u * GetGValue(colour) + GetBValue(colour);
        return sum >= 8u * 128u ? 0xFFFFFFu : 0u;
    }
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

COLORREF colourFromPixel(std::uint32_t pixel) {
    return RGB(static_cast<BYTE>(pixel >> 16), static_cast<BYTE>(pixel >> 8), static_cast<BYTE>(pixel));
}

}  // namespace platform

using namespace platform;

extern "C" {

HGDIOBJ GetStockObject(int index) {
    // The stock objects live in the handle table for the whole life of the library.
    static const struct Stock {
        HGDIOBJ whiteBrush = addObject(makeStockBrush(BS_SOLID, RGB(255, 255, 255)));
        HGDIOBJ blackBrush = addObject(makeStockBrush(BS_SOLID, RGB(0, 0, 0)));
        HGDIOBJ nullBrush = addObject(makeStockBrush(BS_NULL, 0));
        HGDIOBJ whitePen = addObject(makeStockPen(PS_SOLID, RGB(255, 255, 255)));
        HGDIOBJ blackPen = addObject(makeStockPen(PS_SOLID, RGB(0, 0, 0)));
        HGDIOBJ nullPen = addObject(makeStockPen(PS_NULL, 0));
        HGDIOBJ systemFont = addObject(makeStockFont());
    } stock;
    switch (index) {
        case WHITE_BRUSH:
            return stock.whiteBrush;
        case BLACK_BRUSH:
            return stock.blackBrush;
        case NULL_BRUSH:
            return stock.nullBrush;
        case WHITE_PEN:
            return stock.whitePen;
        case BLACK_PEN:
            return stock.blackPen;
        case NULL_PEN:
            return stock.nullPen;
        case SYSTEM_FONT:
            return stock.systemFont;
        default:
            return nullptr;
    }
}

HPEN CreatePenIndirect(const LOGPEN* logical) {
    if (logical == nullptr || (logical->lopnStyle != PS_SOLID && logical->lopnStyle != PS_NULL)) {
        return nullptr;
    }
    auto pen = std::make_shared<Pen>();
    pen->style = logical->lopnStyle;
    pen->colour = logical->lopnColor & 0xFFFFFFu;
    return static_cast<HPEN>(addObject(std::move(pen)));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* logical) {
    if (logical == nullptr || (logical->lbStyle != BS_SOLID && logical->lbStyle != BS_NULL)) {
        return nullptr;
    }
    auto brush = std::make_shared<Brush>();
    brush->style = logical->lbStyle;
    brush->colour = logical->lbColor & 0xFFFFFFu;
    return static_cast<HBRUSH>(addObject(std::move(brush)));
}

HBRUSH CreateSolidBrush(COLORREF colour) {
    const LOGBRUSH logical{BS_SOLID, colour, 0};
    return CreateBrushIndirect(&logical);
}

HFONT CreateFontIndirectA(const LOGFONTA* logical) {
    if (logical == nullptr) {
        return nullptr;
    }
    auto font = std::make_shared<Font>();
    font->logical = *logical;
    font->logical.lfFaceName[LF_FACESIZE - 1] = '\0';
    font->face = FontFace::open(font->logical);
    return static_cast<HFONT>(addObject(std::move(font)));
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    auto region = std::make_shared<Region>();
    // Windows orders the corners, so a rectangle given backwards still describes the same area.
    region->box = {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    return static_cast<HRGN>(addObject(std::move(region)));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (width <= 0 || height <= 0 || planes != 1 || bitsPerPixel != 1) {
        return nullptr;
    }
    auto bitmap = makeBitmap(width, height, 1);
    if (bits != nullptr) {
        // Rows of monochrome bitmaps are padded to 16 bits.
        const auto* bytes = static_cast<const BYTE*>(bits);
        const int stride = (width + 15) / 16 * 2;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool white = (bytes[y * stride + x / 8] >> (7 - x % 8)) & 1;
                bitmap->row(y)[x] = white ? 0xFFFFFFu : 0u;
            }
        }
    }
    return static_cast<HBITMAP>(addObject(std::move(bitmap)));
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD) {
    if (bits != nullptr) {
        *bits = nullptr;
    }
    if (info == nullptr || usage != DIB_RGB_COLORS || section != nullptr) {
        return nullptr;
    }
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biBitCount != 32 || header.biCompression != BI_RGB ||
        header.biPlanes != 1 || header.biWidth <= 0 || header.biHeight == 0) {
        return nullptr;
    }
    const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    auto bitmap = makeBitmap(header.biWidth, height, 32);
    bitmap->dibSection = true;
    if (header.biHeight > 0) {
        // Bottom-up: the first row in memory is the bottom row of the image.
        bitmap->rowZero = bitmap->pixels + static_cast<std::ptrdiff_t>(height - 1) * bitmap->width;
        bitmap->rowStep = -bitmap->width;
    }
    if (bits != nullptr) {
        *bits = bitmap->pixels;
    }
    return static_cast<HBITMAP>(addObject(std::move(bitmap)));
}

int GetObjectA(HGDIOBJ object, int size, LPVOID buffer) {
    auto bitmap = require<Bitmap>(object, ObjectKind::bitmap, "GetObjectA: not a bitmap");
    if (!bitmap) {
        return 0;
    }
    if (buffer == nullptr) {
        return static_cast<int>(sizeof(BITMAP));
    }
    if (size < static_cast<int>(sizeof(BITMAP))) {
        return 0;
    }
    BITMAP record{};
    record.bmWidth = bitmap->width;
    record.bmHeight = bitmap->height;
    record.bmWidthBytes = bitmap->monochrome() ? (bitmap->width + 15) / 16 * 2 : bitmap->width * 4;
    record.bmPlanes = 1;
    record.bmBitsPixel = static_cast<WORD>(bitmap->bitsPerPixel);
    record.bmBits = bitmap->dibSection ? bitmap->pixels : nullptr;
    std::memcpy(buffer, &record, sizeof record);
    return static_cast<int>(sizeof record);
}

BOOL DeleteObject(HGDIOBJ object) {
    std::shared_ptr<GdiObject> found = findObject(object);
    if (!found || found->kind == ObjectKind::deviceContext) {
        reportMisuse("DeleteObject: not a GDI object");
        return FALSE;
    }
    if (found->stock) {
        return TRUE;
    }
    // A context that still has the object selected keeps it alive until it selects another.
    removeObject(object);
    return TRUE;
}

}  // extern "C"
