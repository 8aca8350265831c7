// Rectangle fills and one-pixel lines with Windows' pixel rules.
#include <cstdlib>

#include "platform/gdi/device_context.h"

namespace platform {
namespace {

// GDI writes zero into the alpha byte of every pixel it draws.
void plot(DeviceContext& context, int x, int y, std::uint32_t pixel) {
    const int tx = x + context.originX;
    const int ty = y + context.originY;
    if (containsPoint(context.effectiveClip, tx, ty)) {
        context.target->row(ty)[tx] = pixel;
    }
}

long floorDivide(long numerator, long denominator) {
    long quotient = numerator / denominator;
    if ((numerator % denominator != 0) && ((numerator < 0) != (denominator < 0))) {
        --quotient;
    }
    return quotient;
}

// The minor coordinate at a step along the major axis: the exact value rounded, halves rounded down.
int minorAt(int start, long step, long minorDelta, long majorDelta) {
    long numerator = 2 * step * minorDelta - majorDelta;
    long denominator = 2 * majorDelta;
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    // ceil((2 * step * minorDelta - majorDelta) / (2 * majorDelta)) is round-half-down of step * minor / major.
    return start + static_cast<int>(-floorDivide(-numerator, denominator));
}

void drawLine(DeviceContext& context, int x0, int y0, int x1, int y1, std::uint32_t pixel) {
    const long dx = x1 - x0;
    const long dy = y1 - y0;
    if (std::labs(dx) >= std::labs(dy)) {
        const int direction = dx > 0 ? 1 : -1;
        for (long step = 0; step < std::labs(dx); ++step) {
            const long signedStep = step * direction;
            plot(context, x0 + static_cast<int>(signedStep), minorAt(y0, signedStep, dy, dx), pixel);
        }
    } else {
        const int direction = dy > 0 ? 1 : -1;
        for (long step = 0; step < std::labs(dy); ++step) {
            const long signedStep = step * direction;
            plot(context, minorAt(x0, signedStep, dx, dy), y0 + static_cast<int>(signedStep), pixel);
        }
    }
}

}  // namespace

// Fills a device rectangle, clipped, with one pixel value.
void fillDeviceBox(DeviceContext& context, const Box& box, std::uint32_t pixel) {
    const Box target = box.moved(context.originX, context.originY);
    for (const Box& part : intersect(context.effectiveClip, target)) {
        for (int y = part.top; y < part.bottom; ++y) {
            std::uint32_t* row = context.target->row(y);
            for (int x = part.left; x < part.right; ++x) {
                row[x] = pixel;
            }
        }
    }
}

}  // namespace platform

using namespace platform;

extern "C" {

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous) {
    auto context = requireContext(dc, "MoveToEx: not a device context");
    if (!context) {
        return FALSE;
    }
    if (previous != nullptr) {
        *previous = context->position;
    }
    context->position = {x, y};
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
    auto context = requireContext(dc, "LineTo: not a device context");
    if (!context) {
        return FALSE;
    }
    if (context->pen && context->pen->style != PS_NULL) {
        drawLine(*context, context->position.x, context->position.y, x, y,
                 pixelFromColour(context->pen->colour, context->monochrome()));
    }
    context->position = {x, y};
    return TRUE;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brushHandle) {
    auto context = requireContext(dc, "FillRect: not a device context");
    auto brush = require<Brush>(brushHandle, ObjectKind::brush, "FillRect: not a brush");
    if (!context || !brush || rect == nullptr) {
        return 0;
    }
    if (brush->style != BS_NULL) {
        fillDeviceBox(*context, {rect->left, rect->top, rect->right, rect->bottom},
                      pixelFromColour(brush->colour, context->monochrome()));
    }
    return 1;
}

}  // extern "C"
