// Font faces for the subset's text: matched through fontconfig, rasterised by FreeType into coverage maps.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/subset/win32_gdi.h"

namespace platform {

struct FontEngine;

// One face at one size and style, with the glyphs of all 8-bit characters (read as Latin-1) rendered
// when the face is opened. Faces are shared by every font that asks for the same file, size and style.
class FontFace {
public:
    struct Glyph {
        int advance = 0;  // whole pixels, as GDI lays text out
        int left = 0;     // from the pen position to the coverage map's left edge
        int top = 0;      // from the baseline up to the coverage map's top edge
        int width = 0;
        int rows = 0;
        std::vector<std::uint8_t> coverage;  // 0 (none) to 255 (full), rows top-down
    };

    // Null when no font at all can be found; text drawn with such a font is left out.
    static std::shared_ptr<FontFace> open(const LOGFONTA& logical);

    const Glyph& glyph(unsigned char character) const { return glyphs[character]; }
    int width(const char* text, int length) const;

    int ascent = 0;
    int descent = 0;
    int height() const { return ascent + descent; }
    int underlineOffset = 1;  // below the baseline
    int underlineThickness = 1;
    bool underline = false;

private:
    std::shared_ptr<FontEngine> engine;
    std::array<Glyph, 256> glyphs;

    friend struct FaceLoader;
};

}  // namespace platform
