// Integer rectangles and rectangle lists (clip and visible regions) used throughout the subset.
#pragma once

#include <algorithm>
#include <vector>

namespace platform {

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    Box moved(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    Box intersect(const Box& other) const {
        return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    }
    // The smallest box around both; an empty one adds nothing.
    Box unite(const Box& other) const {
        if (empty()) {
            return other;
        }
        if (other.empty()) {
            return *this;
        }
        return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                std::max(bottom, other.bottom)};
    }
    bool operator==(const Box& other) const {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

// A region as a list of disjoint boxes.
using BoxList = std::vector<Box>;

inline BoxList intersect(const BoxList& boxes, const Box& with) {
    BoxList result;
    for (const Box& box : boxes) {
        Box part = box.intersect(with);
        if (!part.empty()) {
            result.push_back(part);
        }
    }
    return result;
}

inline BoxList subtract(const BoxList& boxes, const Box& hole) {
    BoxList result;
    for (const Box& box : boxes) {
        Box cut = box.intersect(hole);
        if (cut.empty()) {
            result.push_back(box);
            continue;
        }
        if (box.top < cut.top) {
            result.push_back({box.left, box.top, box.right, cut.top});
        }
        if (cut.bottom < box.bottom) {
            result.push_back({box.left, cut.bottom, box.right, box.bottom});
        }
        if (box.left < cut.left) {
            result.push_back({box.left, cut.top, cut.left, cut.bottom});
        }
        if (cut.right < box.right) {
            result.push_back({cut.right, cut.top, box.right, cut.bottom});
        }
    }
    return result;
}

inline bool containsPoint(const BoxList& boxes, int x, int y) {
    for (const Box& box : boxes) {
        if (box.contains(x, y)) {
            return true;
        }
    }
    return false;
}

}  // namespace platform
