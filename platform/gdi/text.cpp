// Single-line text: layout in a rectangle, opaque backgrounds, anti-aliased glyphs and underlines.
#include <algorithm>
#include <cstring>

#include "platform/gdi/device_context.h"
#include "platform/gdi/font_engine.h"

namespace platform {
namespace {

std::uint32_t mix(std::uint32_t destination, std::uint32_t colour, std::uint32_t coverage) {
    std::uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t d = (destination >> shift) & 0xFF;
        const std::uint32_t c = (colour >> shift) & 0xFF;
        const std::uint32_t value = (c * coverage + d * (255 - coverage) + 127) / 255;
        result |= value << shift;
    }
    return result;  // GDI leaves the alpha byte zero
}

void drawGlyph(DeviceContext& context, const BoxList& clip, const FontFace::Glyph& glyph, int penX, int baseline,
               std::uint32_t colour) {
    const int left = penX + glyph.left + context.originX;
    const int top = baseline - glyph.top + context.originY;
    const Box area{left, top, left + glyph.width, top + glyph.rows};
    for (const Box& part : intersect(clip, area)) {
        for (int y = part.top; y < part.bottom; ++y) {
            std::uint32_t* row = context.target->row(y);
            const std::uint8_t* coverage = glyph.coverage.data() + (y - top) * glyph.width;
            for (int x = part.left; x < part.right; ++x) {
                const std::uint32_t amount = coverage[x - left];
                if (amount == 0) {
                    continue;
                }
                if (context.monochrome()) {
                    row[x] = amount >= 128 ? colour : row[x];
                } else {
                    row[x] = mix(row[x], colour, amount);
                }
            }
        }
    }
}

// Coordinates beyond any surface are brought within this distance first: the layout adds widths, heights
// and the context's origin to them, which must not overflow, and no surface is large enough to tell.
constexpr LONG kFarthest = 1 << 28;

LONG within(LONG coordinate) {
    return std::clamp(coordinate, -kFarthest, kFarthest);
}

}  // namespace
}  // namespace platform

using namespace platform;

extern "C" {

int DrawTextA(HDC dc, LPCSTR text, int length, RECT* rect, UINT format) {
    auto context = requireContext(dc, "DrawTextA: not a device context");
    if (!context || text == nullptr || rect == nullptr) {
        return 0;
    }
    if (length < 0) {
        length = static_cast<int>(std::strlen(text));
    }
    const FontFace* face = context->font ? context->font->face.get() : nullptr;
    if (face == nullptr) {
        return 0;
    }

    const RECT area{within(rect->left), within(rect->top), within(rect->right), within(rect->bottom)};
    const int width = face->width(text, length);
    int x = area.left;
    if ((format & DT_CENTER) != 0) {
        x = area.left + (area.right - area.left - width) / 2;
    }
    if ((format & DT_RIGHT) != 0) {
        x = area.right - width;
    }
    int y = area.top;
    if ((format & DT_VCENTER) != 0) {
        y = area.top + (area.bottom - area.top - face->height()) / 2;
    }
    if ((format & DT_BOTTOM) != 0) {
        y = area.bottom - face->height();
    }

    BoxList clip = context->effectiveClip;
    if ((format & DT_NOCLIP) == 0) {
        clip = intersect(clip,
                         Box{area.left, area.top, area.right, area.bottom}.moved(context->originX, context->originY));
    }
    const bool monochrome = context->monochrome();
    if (context->backgroundMode == OPAQUE) {
        const Box cell = Box{x, y, x + width, y + face->height()}.moved(context->originX, context->originY);
        const std::uint32_t background = pixelFromColour(context->backgroundColour, monochrome);
        for (const Box& part : intersect(clip, cell)) {
            for (int row = part.top; row < part.bottom; ++row) {
                for (int column = part.left; column < part.right; ++column) {
                    context->target->row(row)[column] = background;
                }
            }
        }
    }
    const std::uint32_t colour = pixelFromColour(context->textColour, monochrome);
    const int baseline = y + face->ascent;
    int penX = x;
    for (int i = 0; i < length; ++i) {
        const FontFace::Glyph& glyph = face->glyph(static_cast<unsigned char>(text[i]));
        drawGlyph(*context, clip, glyph, penX, baseline, colour);
        penX += glyph.advance;
    }
    if (face->underline) {
        const int top = baseline + face->underlineOffset;
        const Box line =
            Box{x, top, x + width, top + face->underlineThickness}.moved(context->originX, context->originY);
        for (const Box& part : intersect(clip, line)) {
            for (int row = part.top; row < part.bottom; ++row) {
                for (int column = part.left; column < part.right; ++column) {
                    context->target->row(row)[column] = colour;
                }
            }
        }
    }
    // With vertical centring Windows answers the distance from the rectangle's top to the text's bottom.
    return (format & (DT_VCENTER | DT_BOTTOM)) != 0 ? y + face->height() - area.top : face->height();
}

}  // extern "C"
