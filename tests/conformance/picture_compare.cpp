// The agreement rule for pictures drawn on Linux and on Windows.
#include "tests/conformance/picture_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "tests/conformance/support.h"

namespace conformance {
namespace {

bool inside(const std::vector<RECT>& areas, int x, int y, int margin) {
    for (const RECT& area : areas) {
        if (x >= area.left - margin && x < area.right + margin && y >= area.top - margin && y < area.bottom + margin) {
            return true;
        }
    }
    return false;
}

Bounds inkIn(const std::vector<std::uint32_t>& pixels, int width, const RECT& area, std::uint32_t background) {
    Bounds ink{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (pixels[static_cast<std::size_t>(y * width + x)] != background) {
                ink.left = std::min(ink.left, x);
                ink.top = std::min(ink.top, y);
                ink.right = std::max(ink.right, x + 1);
                ink.bottom = std::max(ink.bottom, y + 1);
            }
        }
    }
    return ink;
}

}  // namespace

void expectPicturesAgree(const std::vector<std::uint32_t>& ours, const std::vector<std::uint32_t>& theirs, int width,
                         int height, const std::vector<RECT>& textAreas, int textMargin) {
    ASSERT_EQ(ours.size(), static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    ASSERT_EQ(theirs.size(), ours.size());
    int differing = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * width + x);
            if (!inside(textAreas, x, y, textMargin) && ours[i] != theirs[i] && ++differing <= 5) {
                ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << ours[i] << " here, " << theirs[i]
                              << " there";
            }
        }
    }
    EXPECT_EQ(differing, 0);
    for (const RECT& area : textAreas) {
        // The area's top-left pixel is its background: text areas lie on plain ground.
        const std::uint32_t background = ours[static_cast<std::size_t>(area.top * width + area.left)];
        const Bounds mine = inkIn(ours, width, area, background);
        const Bounds other = inkIn(theirs, width, area, background);
        EXPECT_FALSE(mine.empty()) << "no text in the area at " << area.left << "," << area.top;
        EXPECT_NEAR(mine.left, other.left, kTextTolerance) << "text area at " << area.left << "," << area.top;
        EXPECT_NEAR(mine.top, other.top, kTextTolerance) << "text area at " << area.left << "," << area.top;
        EXPECT_NEAR(mine.right, other.right, kTextTolerance) << "text area at " << area.left << "," << area.top;
        EXPECT_NEAR(mine.bottom, other.bottom, kTextTolerance) << "text area at " << area.left << "," << area.top;
    }
}

void expectAgreesWithOtherTarget(int width, int height, const std::vector<RECT>& textAreas,
                                 const std::function<std::vector<std::uint32_t>()>& draw, int textMargin) {
    const char* other = std::getenv("ZELMOR_OTHER_PICTURE");
    if (other == nullptr) {
        GTEST_SKIP() << "set ZELMOR_OTHER_PICTURE to the other target's picture";
    }
    int theirWidth = 0;
    int theirHeight = 0;
    const std::vector<std::uint32_t> theirs = loadPng(other, theirWidth, theirHeight);
    ASSERT_EQ(theirWidth, width);
    ASSERT_EQ(theirHeight, height);
    expectPicturesAgree(draw(), theirs, width, height, textAreas, textMargin);
}

}  // namespace conformance
