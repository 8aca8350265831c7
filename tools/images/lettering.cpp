// Lettering: fontconfig finds the face file, FreeType renders unhinted anti-aliased glyphs.
#include "tools/images/lettering.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace artwork {
namespace {

std::string faceFile(const Lettering& style) {
    const std::string name = style.family + (style.bold ? ":bold" : ":regular");
    // A configuration of its own, destroyed after use: fontconfig's shared one is never freed.
    FcConfig* config = FcInitLoadConfigAndFonts();
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(name.c_str()));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    std::string file;
    FcChar8* path = nullptr;
    if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
        file = reinterpret_cast<const char*>(path);
    }
    if (match != nullptr) {
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    FcConfigDestroy(config);
    if (file.empty()) {
        throw std::runtime_error("no font for " + name);
    }
    return file;
}

}  // namespace

Mask lettering(int width, int height, const std::string& text, const Lettering& style, float centreX, float baseline) {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, faceFile(style).c_str(), 0, &face) != 0) {
        throw std::runtime_error("cannot open the font");
    }
    // Quarter-pixel positions: render at four times the size and average down.
    constexpr int kScale = 4;
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::lround(style.pixelSize * kScale)));

    float advance = 0;
    for (char c : text) {
        FT_Load_Char(face, static_cast<unsigned char>(c), FT_LOAD_NO_HINTING);
        advance += static_cast<float>(face->glyph->advance.x) / 64.0f + style.tracking * kScale;
    }
    advance -= style.tracking * kScale;

    Mask large(width * kScale, height * kScale);
    float pen = centreX * kScale - advance / 2;
    for (char c : text) {
        FT_Load_Char(face, static_cast<unsigned char>(c), FT_LOAD_RENDER | FT_LOAD_NO_HINTING);
        const FT_GlyphSlot glyph = face->glyph;
        const int left = static_cast<int>(std::lround(pen)) + glyph->bitmap_left;
        const int top = static_cast<int>(std::lround(baseline * kScale)) - glyph->bitmap_top;
        for (unsigned row = 0; row < glyph->bitmap.rows; ++row) {
            for (unsigned column = 0; column < glyph->bitmap.width; ++column) {
                const int x = left + static_cast<int>(column);
                const int y = top + static_cast<int>(row);
                if (x < 0 || y < 0 || x >= large.width || y >= large.height) {
                    continue;
                }
                const float value =
                    static_cast<float>(
                        glyph->bitmap.buffer[row * static_cast<unsigned>(glyph->bitmap.pitch) + column]) /
                    255.0f;
                large.at(x, y) = std::min(1.0f, large.at(x, y) + value);
            }
        }
        pen += static_cast<float>(glyph->advance.x) / 64.0f + style.tracking * kScale;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);

    Mask result(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            float sum = 0;
            for (int sy = 0; sy < kScale; ++sy) {
                for (int sx = 0; sx < kScale; ++sx) {
                    sum += large.at(x * kScale + sx, y * kScale + sy);
                }
            }
            result.at(x, y) = sum / (kScale * kScale);
        }
    }
    return result;
}

}  // namespace artwork
