// Block transfers between contexts: raster operations, colour-keyed copies and alpha blending.
#include <cstring>
#include <vector>

#include "platform/gdi/device_context.h"

namespace platform {
namespace {

std::uint32_t blendChannel(std::uint32_t value, std::uint32_t weight) {
    return (value * weight + 127) / 255;
}

// blendChannel for every weight and value, so that the common blend costs lookups, not divisions.
struct BlendTable {
    BlendTable() {
        for (std::uint32_t weight = 0; weight < 256; ++weight) {
            for (std::uint32_t value = 0; value < 256; ++value) {
                scaled[weight][value] = static_cast<std::uint8_t>(blendChannel(value, weight));
            }
        }
    }
    std::uint8_t scaled[256][256];
};

const BlendTable& blendTable() {
    static const BlendTable table;
    return table;
}

// A premultiplied pixel over another, with the table row of the weight that the destination keeps.
std::uint32_t blendOver(std::uint32_t source, std::uint32_t destination, const std::uint8_t* kept) {
    const std::uint32_t blue = ((source & 0xFF) + kept[destination & 0xFF]) & 0xFF;
    const std::uint32_t green = (((source >> 8) & 0xFF) + kept[(destination >> 8) & 0xFF]) & 0xFF;
    const std::uint32_t red = (((source >> 16) & 0xFF) + kept[(destination >> 16) & 0xFF]) & 0xFF;
    const std::uint32_t alpha = ((source >> 24) + kept[destination >> 24]) & 0xFF;
    return blue | green << 8 | red << 16 | alpha << 24;
}

// Per channel, wrapping like GDI when the source is not properly premultiplied.
std::uint32_t blendPixel(std::uint32_t source, std::uint32_t destination, BYTE constantAlpha, bool perPixelAlpha) {
    const std::uint32_t sourceAlpha = source >> 24;
    if (perPixelAlpha && constantAlpha == 255) {
        // Opaque and fully transparent pixels make up most images; both have exact shortcuts.
        if (sourceAlpha == 255) {
            return source;
        }
        if (source == 0) {
            return destination;
        }
        return blendOver(source, destination, blendTable().scaled[255 - sourceAlpha]);
    }
    std::uint32_t result = 0;
    const std::uint32_t scaledAlpha = constantAlpha == 255 ? sourceAlpha : blendChannel(sourceAlpha, constantAlpha);
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t s = (source >> shift) & 0xFF;
        const std::uint32_t d = (destination >> shift) & 0xFF;
        std::uint32_t value = 0;
        if (perPixelAlpha) {
            const std::uint32_t scaled = constantAlpha == 255 ? s : blendChannel(s, constantAlpha);
            value = scaled + blendChannel(d, 255 - scaledAlpha);
        } else {
            value = (s * constantAlpha + d * (255u - constantAlpha) + 127) / 255;
        }
        result |= (value & 0xFF) << shift;
    }
    return result;
}

struct Transfer {
    DeviceContext& destination;
    DeviceContext& source;
    Box destinationBox;  // device coordinates of the destination
    int sourceX;         // device coordinates of the source for the box's top-left
    int sourceY;
};

// Calls visit(destinationRow, sourceRow, width) for every run of pixels that both sides allow. A source
// row is read through a copy when source and destination share a bitmap, so a context may transfer onto
// itself.
template <class Visit>
void forEachRun(const Transfer& transfer, Visit visit) {
    DeviceContext& source = transfer.source;
    DeviceContext& destination = transfer.destination;
    const int shiftX = transfer.sourceX + source.originX - transfer.destinationBox.left - destination.originX;
    const int shiftY = transfer.sourceY + source.originY - transfer.destinationBox.top - destination.originY;
    const Box wanted = transfer.destinationBox.moved(destination.originX, destination.originY);
    BoxList parts = intersect(destination.effectiveClip, wanted);
    // Pixels that the source cannot supply are left alone.
    parts = intersect(parts, source.target->bounds().moved(-shiftX, -shiftY));
    for (const Box& part : parts) {
        const int width = part.right - part.left;
        std::vector<std::uint32_t> copy;
        const bool sameTarget = source.target == destination.target;
        for (int y = part.top; y < part.bottom; ++y) {
            const std::uint32_t* sourceRow = source.target->row(y + shiftY) + part.left + shiftX;
            if (sameTarget) {
                copy.assign(sourceRow, sourceRow + width);
                sourceRow = copy.data();
            }
            visit(destination.target->row(y) + part.left, sourceRow, width);
        }
    }
}

// Calls visit(destinationPixel, sourcePixel) for every pixel that both sides allow.
template <class Visit>
void forEachPixel(const Transfer& transfer, Visit visit) {
    forEachRun(transfer, [&visit](std::uint32_t* row, const std::uint32_t* sourceRow, int width) {
        for (int x = 0; x < width; ++x) {
            visit(row[x], sourceRow[x]);
        }
    });
}

// A plain copy between pixels of one format: whole rows at a time.
void copyRows(const Transfer& transfer) {
    DeviceContext& source = transfer.source;
    DeviceContext& destination = transfer.destination;
    const int shiftX = transfer.sourceX + source.originX - transfer.destinationBox.left - destination.originX;
    const int shiftY = transfer.sourceY + source.originY - transfer.destinationBox.top - destination.originY;
    BoxList parts =
        intersect(destination.effectiveClip, transfer.destinationBox.moved(destination.originX, destination.originY));
    parts = intersect(parts, source.target->bounds().moved(-shiftX, -shiftY));
    const bool sameTarget = source.target == destination.target;
    for (const Box& part : parts) {
        const auto width = static_cast<std::size_t>(part.right - part.left);
        // Whole rows of two top-down bitmaps of one width are one block: a back buffer onto its window.
        const Bitmap& from = *source.target;
        const Bitmap& to = *destination.target;
        if (!sameTarget && shiftX == 0 && part.left == 0 && width == static_cast<std::size_t>(to.width) &&
            from.width == to.width && from.rowStep == from.width && to.rowStep == to.width) {
            std::memcpy(destination.target->row(part.top), source.target->row(part.top + shiftY),
                        width * static_cast<std::size_t>(part.bottom - part.top) * sizeof(std::uint32_t));
            continue;
        }
        // Rows of one bitmap may overlap: copy them in the order that reads each before overwriting it.
        const bool upwards = sameTarget && shiftY < 0;
        for (int i = 0; i < part.bottom - part.top; ++i) {
            const int y = upwards ? part.bottom - 1 - i : part.top + i;
            std::memmove(destination.target->row(y) + part.left, source.target->row(y + shiftY) + part.left + shiftX,
                         width * sizeof(std::uint32_t));
        }
    }
}

// Converts a source pixel for the destination: monochrome sources take the destination's text colour
// for black and its background colour for white; monochrome destinations take white where the source
// has the source context's background colour.
std::uint32_t convert(std::uint32_t pixel, const DeviceContext& source, const DeviceContext& destination) {
    if (source.monochrome() && !destination.monochrome()) {
        return pixelFromColour(pixel != 0 ? destination.backgroundColour : destination.textColour, false);
    }
    if (!source.monochrome() && destination.monochrome()) {
        return (pixel & 0xFFFFFFu) == pixelFromColour(source.backgroundColour, false) ? 0xFFFFFFu : 0u;
    }
    return pixel;
}

bool sourceInside(const DeviceContext& source, int x, int y, int width, int height) {
    const Box wanted{x + source.originX, y + source.originY, x + source.originX + width, y + source.originY + height};
    return wanted.intersect(source.target->bounds()) == wanted;
}

}  // namespace
}  // namespace platform

using namespace platform;

extern "C" {

BOOL BitBlt(HDC destinationDc, int x, int y, int width, int height, HDC sourceDc, int sourceX, int sourceY, DWORD rop) {
    auto destination = requireContext(destinationDc, "BitBlt: destination is not a device context");
    auto source = requireContext(sourceDc, "BitBlt: source is not a device context");
    if (!destination || !source || (rop != SRCCOPY && rop != SRCAND && rop != SRCINVERT)) {
        return FALSE;
    }
    const Transfer transfer{*destination, *source, {x, y, x + width, y + height}, sourceX, sourceY};
    if (rop == SRCCOPY && source->monochrome() == destination->monochrome()) {
        copyRows(transfer);
        return TRUE;
    }
    const std::uint32_t mask = destination->monochrome() ? 0xFFFFFFu : 0xFFFFFFFFu;
    forEachPixel(transfer, [&](std::uint32_t& target, std::uint32_t pixel) {
        const std::uint32_t converted = convert(pixel, *source, *destination);
        if (rop == SRCCOPY) {
            target = converted;
        }
        if (rop == SRCAND) {
            target &= converted;
        }
        if (rop == SRCINVERT) {
            target = (target ^ converted) & mask;
        }
    });
    return TRUE;
}

BOOL AlphaBlend(HDC destinationDc, int x, int y, int width, int height, HDC sourceDc, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, BLENDFUNCTION blend) {
    auto destination = requireContext(destinationDc, "AlphaBlend: destination is not a device context");
    auto source = requireContext(sourceDc, "AlphaBlend: source is not a device context");
    if (!destination || !source || blend.BlendOp != AC_SRC_OVER) {
        return FALSE;
    }
    if (width < 0 || height < 0 || width != sourceWidth || height != sourceHeight) {
        return FALSE;
    }
    // Like Windows, a source rectangle outside the source bitmap fails the whole call.
    if (!sourceInside(*source, sourceX, sourceY, width, height) || source->monochrome()) {
        return FALSE;
    }
    const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
    const Transfer transfer{*destination, *source, {x, y, x + width, y + height}, sourceX, sourceY};
    if (perPixel && blend.SourceConstantAlpha == 255) {
        // Images drawn by their own alpha, the editor's every drawing: opaque pixels are copied, transparent
        // ones skipped, and only the edges between them blended.
        const BlendTable& table = blendTable();
        forEachRun(transfer, [&table](std::uint32_t* row, const std::uint32_t* sourceRow, int count) {
            int at = 0;
            while (at < count) {
                int run = at;
                // Four pixels at a time while all four are opaque.
                while (run + 4 <= count &&
                       (sourceRow[run] & sourceRow[run + 1] & sourceRow[run + 2] & sourceRow[run + 3]) >= 0xFF000000u) {
                    run += 4;
                }
                while (run < count && (sourceRow[run] >> 24) == 255) {
                    ++run;
                }
                if (run > at) {
                    std::memcpy(row + at, sourceRow + at, static_cast<std::size_t>(run - at) * sizeof(std::uint32_t));
                    at = run;
                    continue;
                }
                const std::uint32_t pixel = sourceRow[at];
                if (pixel != 0) {
                    row[at] = blendOver(pixel, row[at], table.scaled[255 - (pixel >> 24)]);
                }
                ++at;
            }
        });
        return TRUE;
    }
    forEachPixel(transfer, [&](std::uint32_t& target, std::uint32_t pixel) {
        target = blendPixel(pixel, target, blend.SourceConstantAlpha, perPixel);
    });
    return TRUE;
}

BOOL TransparentBlt(HDC destinationDc, int x, int y, int width, int height, HDC sourceDc, int sourceX, int sourceY,
                    int sourceWidth, int sourceHeight, UINT transparent) {
    auto destination = requireContext(destinationDc, "TransparentBlt: destination is not a device context");
    auto source = requireContext(sourceDc, "TransparentBlt: source is not a device context");
    if (!destination || !source) {
        return FALSE;
    }
    if (width <= 0 || height <= 0 || width != sourceWidth || height != sourceHeight) {
        return FALSE;
    }
    if (!sourceInside(*source, sourceX, sourceY, width, height)) {
        return FALSE;
    }
    const std::uint32_t key = pixelFromColour(transparent, source->monochrome());
    const Transfer transfer{*destination, *source, {x, y, x + width, y + height}, sourceX, sourceY};
    forEachPixel(transfer, [&](std::uint32_t& target, std::uint32_t pixel) {
        if ((pixel & 0xFFFFFFu) != key) {
            target = convert(pixel, *source, *destination);
        }
    });
    return TRUE;
}

}  // extern "C"
