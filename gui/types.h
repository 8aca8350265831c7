// The toolkit's shared value types: rectangles, points, colours, mouse and key flags, reference counts.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gui/key_code.h"

namespace gui {

struct CRect;

// A position in pixels, x growing to the right and y downwards.
struct CPoint {
    std::int32_t h = 0;
    std::int32_t v = 0;

    constexpr CPoint() = default;
    constexpr CPoint(std::int32_t x, std::int32_t y) : h(x), v(y) {}

    CPoint& offset(std::int32_t dx, std::int32_t dy) {
        h += dx;
        v += dy;
        return *this;
    }
    // Inclusive on all four sides, so a rectangle's right and bottom edges belong to it.
    bool isInside(const CRect& rect) const;
    friend bool operator==(const CPoint& a, const CPoint& b) { return a.h == b.h && a.v == b.v; }
    friend bool operator!=(const CPoint& a, const CPoint& b) { return !(a == b); }
};
static_assert(sizeof(CPoint) == 8 && offsetof(CPoint, v) == 4, "point layout");

// A rectangle in pixels; right and bottom lie one past the last column and row.
struct CRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    constexpr CRect() = default;
    CRect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) { set(l, t, r, b); }

    // Orders the values, so that a negative width or height still gives left <= right, top <= bottom.
    CRect& set(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
        left = l < r ? l : r;
        right = l < r ? r : l;
        top = t < b ? t : b;
        bottom = t < b ? b : t;
        return *this;
    }
    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    bool isEmpty() const { return width() <= 0 || height() <= 0; }
    CPoint topLeft() const { return {left, top}; }

    CRect& offset(std::int32_t dx, std::int32_t dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
        return *this;
    }
    // The smallest rectangle around both, in place; an empty one adds nothing.
    CRect& unite(const CRect& other) {
        if (other.isEmpty()) {
            return *this;
        }
        if (isEmpty()) {
            return *this = other;
        }
        left = left < other.left ? left : other.left;
        top = top < other.top ? top : other.top;
        right = right > other.right ? right : other.right;
        bottom = bottom > other.bottom ? bottom : other.bottom;
        return *this;
    }
    // Intersection in place; a disjoint pair leaves an empty rectangle, never an inverted one.
    CRect& bound(const CRect& other) {
        left = left > other.left ? left : other.left;
        top = top > other.top ? top : other.top;
        right = right < other.right ? right : other.right;
        bottom = bottom < other.bottom ? bottom : other.bottom;
        if (bottom < top) {
            bottom = top;
        }
        if (right < left) {
            right = left;
        }
        return *this;
    }
    // Shared edges count as overlap.
    bool overlaps(const CRect& other) const {
        return !(right < other.left || other.right < left || bottom < other.top || other.bottom < top);
    }
    friend bool operator==(const CRect& a, const CRect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
    friend bool operator!=(const CRect& a, const CRect& b) { return !(a == b); }
};
static_assert(sizeof(CRect) == 16 && offsetof(CRect, top) == 4 && offsetof(CRect, right) == 8 &&
                  offsetof(CRect, bottom) == 12,
              "rectangle layout");

inline bool CPoint::isInside(const CRect& rect) const {
    return h >= rect.left && h <= rect.right && v >= rect.top && v <= rect.bottom;
}

// Red first in memory, so the low 24 bits of the little-endian word are a GDI colour value.
struct CColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 0;

    constexpr std::uint32_t colorRef() const {
        return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
               static_cast<std::uint32_t>(blue) << 16;
    }
    friend constexpr bool operator==(const CColor& a, const CColor& b) {
        return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
    }
    friend constexpr bool operator!=(const CColor& a, const CColor& b) { return !(a == b); }
};
static_assert(sizeof(CColor) == 4 && offsetof(CColor, green) == 1 && offsetof(CColor, blue) == 2 &&
                  offsetof(CColor, alpha) == 3,
              "colour layout");

constexpr CColor kTransparentCColor{255, 255, 255, 0};
constexpr CColor kBlackCColor{0, 0, 0, 255};
constexpr CColor kWhiteCColor{255, 255, 255, 255};
constexpr CColor kGreyCColor{127, 127, 127, 255};
constexpr CColor kRedCColor{255, 0, 0, 255};

// Mouse buttons and modifier keys in one word; -1 as a buttons argument means "read the state now".
constexpr std::int32_t kLButton = 1;
constexpr std::int32_t kMButton = 2;
constexpr std::int32_t kRButton = 4;
constexpr std::int32_t kShift = 8;
constexpr std::int32_t kControl = 16;
constexpr std::int32_t kAlt = 32;

constexpr std::int32_t kMouseWheelAxisX = 0;
constexpr std::int32_t kMouseWheelAxisY = 1;

using CMessageResult = std::int32_t;
constexpr CMessageResult kMessageUnknown = 0;
constexpr CMessageResult kMessageNotified = 1;

// Key handlers answer this for a key they do not take.
constexpr std::int32_t kKeyNotHandled = -1;

// Counted ownership: one reference at construction, destroyed by the forget that ends the last one.
// Counts are plain integers: every toolkit object belongs to the user-interface thread.
class CReferenceCounter {
public:
    CReferenceCounter() = default;
    CReferenceCounter(const CReferenceCounter&) = delete;
    CReferenceCounter& operator=(const CReferenceCounter&) = delete;
    virtual ~CReferenceCounter() = default;

    virtual void forget() {
        if (--nbReference == 0) {
            delete this;
        }
    }
    virtual void remember() { ++nbReference; }
    std::int32_t getNbReference() const { return nbReference; }

private:
    std::int32_t nbReference = 1;
};

}  // namespace gui
