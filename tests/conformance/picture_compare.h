// Comparing one picture drawn on two targets: exact outside the text, text by its ink bounds.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/win32.h"

namespace conformance {

// Text is rasterised differently by each target (grey-scale here, monochrome under Wine), so inside each
// text area only the rectangle around the ink is compared, within this many pixels.
constexpr int kTextTolerance = 2;

// Adds a test failure for every difference: pixels outside the text areas must be equal. Text that fills a
// box reaches the box's edge with the faint rim of its anti-aliasing: a margin around each area is then
// left out of the exact comparison, but not counted in the ink.
void expectPicturesAgree(const std::vector<std::uint32_t>& ours, const std::vector<std::uint32_t>& theirs, int width,
                         int height, const std::vector<RECT>& textAreas, int textMargin = 0);

// Compares what draw() gives with the other target's picture named by ZELMOR_OTHER_PICTURE; skips the
// test when that is not set.
void expectAgreesWithOtherTarget(int width, int height, const std::vector<RECT>& textAreas,
                                 const std::function<std::vector<std::uint32_t>()>& draw, int textMargin = 0);

}  // namespace conformance
