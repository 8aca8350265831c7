// Font matching with fontconfig and glyph rendering with FreeType; faces are cached while in use.
#include "platform/gdi/font_engine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <string>
#include <tuple>

namespace platform {

// The FreeType library and fontconfig configuration, alive while any face uses them.
struct FontEngine {
    FontEngine() {
        if (FT_Init_FreeType(&library) != 0) {
            library = nullptr;
        }
        config = FcInitLoadConfigAndFonts();
    }
    ~FontEngine() {
        if (config != nullptr) {
            FcConfigDestroy(config);
        }
        if (library != nullptr) {
            FT_Done_FreeType(library);
        }
    }
    FontEngine(const FontEngine&) = delete;
    FontEngine& operator=(const FontEngine&) = delete;

    FT_Library library = nullptr;
    FcConfig* config = nullptr;
    // Matching is the slow part of making a font; the answers stay valid while the configuration lives.
    std::map<std::tuple<std::string, bool, bool>, std::pair<std::string, int>> matches;
};

namespace {

constexpr int kDefaultPixelHeight = 12;
constexpr LONG kBoldWeight = 600;  // weights from semi-bold up select the bold face

using FaceKey = std::tuple<std::string, int, int, bool, bool, bool>;

std::weak_ptr<FontEngine>& sharedEngine() {
    static std::weak_ptr<FontEngine> engine;
    return engine;
}

std::map<FaceKey, std::weak_ptr<FontFace>>& faceCache() {
    static std::map<FaceKey, std::weak_ptr<FontFace>> cache;
    return cache;
}

// Drawing code makes and deletes the same few fonts over and over; the faces asked for last stay
// loaded even while no font uses them.
void keepRecent(const std::shared_ptr<FontFace>& face) {
    constexpr std::size_t kRecentFaces = 8;
    static std::deque<std::shared_ptr<FontFace>> recent;
    if (!face) {
        return;
    }
    auto known = std::find(recent.begin(), recent.end(), face);
    if (known != recent.end()) {
        recent.erase(known);
    }
    recent.push_front(face);
    if (recent.size() > kRecentFaces) {
        recent.pop_back();
    }
}

std::shared_ptr<FontEngine> engineInUse() {
    std::shared_ptr<FontEngine> engine = sharedEngine().lock();
    if (!engine) {
        engine = std::make_shared<FontEngine>();
        sharedEngine() = engine;
    }
    return engine;
}

struct MatchedFile {
    std::string path;
    int index = 0;
};

MatchedFile matchFile(FcConfig* config, const LOGFONTA& logical) {
    MatchedFile matched;
    FcPattern* pattern = FcPatternCreate();
    const char* family = logical.lfFaceName[0] != '\0' ? logical.lfFaceName : "sans-serif";
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, logical.lfWeight >= kBoldWeight ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, logical.lfItalic != 0 ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* font = FcFontMatch(config, pattern, &result);
    if (font != nullptr) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch) {
            matched.path = reinterpret_cast<char*>(file);
        }
        FcPatternGetInteger(font, FC_INDEX, 0, &matched.index);
        FcPatternDestroy(font);
    }
    FcPatternDestroy(pattern);
    return matched;
}

int roundedScale(long fontUnits, long pixelsPerEm, long unitsPerEm) {
    return static_cast<int>(std::lround(static_cast<double>(fontUnits) * static_cast<double>(pixelsPerEm) /
                                        static_cast<double>(unitsPerEm)));
}

}  // namespace

struct FaceLoader {
    static void renderGlyphs(FontFace& face, FT_Face ft, bool emboldenMissingBold, bool slantMissingItalic) {
        for (unsigned code = 32; code < 256; ++code) {
            if (FT_Load_Char(ft, code, FT_LOAD_DEFAULT) != 0) {
                continue;
            }
            if (emboldenMissingBold) {
                FT_GlyphSlot_Embolden(ft->glyph);
            }
            if (slantMissingItalic) {
                FT_GlyphSlot_Oblique(ft->glyph);
            }
            FontFace::Glyph& glyph = face.glyphs[code];
            glyph.advance = static_cast<int>((ft->glyph->advance.x + 32) >> 6);
            if (FT_Render_Glyph(ft->glyph, FT_RENDER_MODE_NORMAL) != 0) {
                continue;
            }
            const FT_Bitmap& bitmap = ft->glyph->bitmap;
            glyph.left = ft->glyph->bitmap_left;
            glyph.top = ft->glyph->bitmap_top;
            glyph.width = static_cast<int>(bitmap.width);
            glyph.rows = static_cast<int>(bitmap.rows);
            glyph.coverage.resize(static_cast<std::size_t>(glyph.width) * static_cast<std::size_t>(glyph.rows));
            for (int y = 0; y < glyph.rows; ++y) {
                for (int x = 0; x < glyph.width; ++x) {
                    glyph.coverage[static_cast<std::size_t>(y * glyph.width + x)] =
                        bitmap.buffer[static_cast<std::ptrdiff_t>(y) * bitmap.pitch + x];
                }
            }
        }
    }

    static std::shared_ptr<FontFace> load(const std::shared_ptr<FontEngine>& engine, const MatchedFile& file,
                                          const LOGFONTA& logical) {
        FT_Face ft = nullptr;
        if (FT_New_Face(engine->library, file.path.c_str(), file.index, &ft) != 0) {
            return nullptr;
        }
        const long unitsPerEm = ft->units_per_EM > 0 ? ft->units_per_EM : 2048;
        long winAscent = ft->ascender;
        long winDescent = -ft->descender;
        if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2)); os2 != nullptr) {
            winAscent = os2->usWinAscent;
            winDescent = os2->usWinDescent;
        }
        // A negative height asks for the character height (the em), a positive one for the cell height.
        long pixelsPerEm = kDefaultPixelHeight;
        if (logical.lfHeight < 0) {
            pixelsPerEm = -static_cast<long>(logical.lfHeight);
        }
        if (logical.lfHeight > 0) {
            pixelsPerEm =
                std::max(1L, std::lround(static_cast<double>(logical.lfHeight) * static_cast<double>(unitsPerEm) /
                                         static_cast<double>(winAscent + winDescent)));
        }
        FT_Set_Pixel_Sizes(ft, 0, static_cast<FT_UInt>(pixelsPerEm));

        auto face = std::make_shared<FontFace>();
        face->engine = engine;
        face->ascent = roundedScale(winAscent, pixelsPerEm, unitsPerEm);
        face->descent = roundedScale(winDescent, pixelsPerEm, unitsPerEm);
        face->underline = logical.lfUnderline != 0;
        face->underlineOffset = std::max(1, roundedScale(-ft->underline_position, pixelsPerEm, unitsPerEm));
        face->underlineThickness = std::max(1, roundedScale(ft->underline_thickness, pixelsPerEm, unitsPerEm));
        const bool wantsBold = logical.lfWeight >= kBoldWeight;
        const bool wantsItalic = logical.lfItalic != 0;
        renderGlyphs(*face, ft, wantsBold && (ft->style_flags & FT_STYLE_FLAG_BOLD) == 0,
                     wantsItalic && (ft->style_flags & FT_STYLE_FLAG_ITALIC) == 0);
        FT_Done_Face(ft);
        return face;
    }
};

std::shared_ptr<FontFace> FontFace::open(const LOGFONTA& logical) {
    std::shared_ptr<FontEngine> engine = engineInUse();
    if (engine->library == nullptr || engine->config == nullptr) {
        return nullptr;
    }
    const auto matchKey =
        std::make_tuple(std::string(logical.lfFaceName), logical.lfWeight >= kBoldWeight, logical.lfItalic != 0);
    auto known = engine->matches.find(matchKey);
    if (known == engine->matches.end()) {
        const MatchedFile matched = matchFile(engine->config, logical);
        known = engine->matches.emplace(matchKey, std::make_pair(matched.path, matched.index)).first;
    }
    const MatchedFile file{known->second.first, known->second.second};
    if (file.path.empty()) {
        return nullptr;
    }
    const int height = static_cast<int>(logical.lfHeight);
    const FaceKey key{file.path,
                      file.index,
                      height,
                      logical.lfWeight >= kBoldWeight,
                      logical.lfItalic != 0,
                      logical.lfUnderline != 0};
    std::weak_ptr<FontFace>& cached = faceCache()[key];
    std::shared_ptr<FontFace> face = cached.lock();
    if (!face) {
        face = FaceLoader::load(engine, file, logical);
        cached = face;
    }
    keepRecent(face);
    return face;
}

int FontFace::width(const char* text, int length) const {
    int total = 0;
    for (int i = 0; i < length; ++i) {
        total += glyphs[static_cast<unsigned char>(text[i])].advance;
    }
    return total;
}

}  // namespace platform
