// Reading the editor's panel off its pixels: handle positions, regions, and what a display and a
// label look like when drawn by the test's own toolkit on the same system.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gui/types.h"

namespace editortest {

using Pixels = std::vector<std::uint32_t>;

// The slider's rectangle (the lower slider's left is 25, the upper's 132) and the handle's height.
constexpr int kSliderTop = 230;
constexpr int kHandleHeight = 51;

// The top of the handle of the slider at sliderLeft, found where the picture differs from a reference
// picture of the same panel whose handle stands elsewhere (at referenceTop, at least a handle away).
int handleTop(const Pixels& picture, const Pixels& reference, int referenceTop, int sliderLeft);

// The pixels of a rectangle of the panel, row by row.
Pixels region(const Pixels& picture, const gui::CRect& rect);

// A value display of the editor's look showing the text, as the system draws it: its rectangle's pixels.
Pixels displayShowing(const std::string& text);

// Arial 14 text, bold or not, drawn black and centred in a rectangle over a plain fill; answers the
// rectangle around its dark ink in the rectangle's coordinates: left, top, right, bottom.
gui::CRect labelInk(const std::string& text, const gui::CRect& rect, bool bold, std::uint32_t fill);
// The same rectangle read off a picture.
gui::CRect inkIn(const Pixels& picture, const gui::CRect& rect);

}  // namespace editortest
