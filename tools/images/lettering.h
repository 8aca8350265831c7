// Text for the artwork, rendered by FreeType from the face fontconfig picks, as a coverage mask.
#pragma once

#include <string>

#include "tools/images/canvas.h"

namespace artwork {

struct Lettering {
    std::string family = "Liberation Sans";
    bool bold = false;
    float pixelSize = 12;
    float tracking = 0;  // extra pixels between letters
};

// The text centred on x, sitting on the baseline.
Mask lettering(int width, int height, const std::string& text, const Lettering& style, float centreX, float baseline);

}  // namespace artwork
