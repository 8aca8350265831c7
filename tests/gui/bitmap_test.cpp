// Bitmaps: the PNG decoder on every colour type and depth, the row order, premultiplication, and the
// editor's images loaded from the module's resources and drawn in part or whole.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <utility>

#include <zlib.h>
#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/frame.h"
#include "gui/png_reader.h"
#include "tests/conformance/support.h"
#include "tests/gui/png_writer.h"

namespace guitest {
namespace {

using conformance::Canvas;
using gui::CRect;
using Rows = std::vector<std::vector<std::uint8_t>>;

// The decoded store as pixels on screen, top row first, each 0xAARRGGBB.
struct Decoded {
    explicit Decoded(const std::vector<std::uint8_t>& png) : image(gui::readPngImage(png.data(), png.size())) {}
    ~Decoded() {
        if (image.image != nullptr) {
            DeleteObject(image.image);
        }
    }
    Decoded(const Decoded&) = delete;
    Decoded& operator=(const Decoded&) = delete;

    std::uint32_t at(int x, int y) const {
        BITMAP record{};
        GetObjectA(image.image, sizeof record, &record);
        const auto* bytes = static_cast<const std::uint8_t*>(record.bmBits);
        const std::size_t row = static_cast<std::size_t>(image.height - 1 - y);  // bottom-up in memory
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, bytes + (row * static_cast<std::size_t>(image.width) + static_cast<std::size_t>(x)) * 4, 4);
        return pixel;
    }
    gui::PngImage image;
};

TEST(PngDecoding, EightBitRgbaIsPremultipliedByShiftingSoWhiteBecomes254) {
    PngFormat format;
    format.width = 3;
    const Decoded decoded(writePng(format, Rows{{255, 255, 255, 255, 200, 100, 50, 0, 100, 150, 200, 128}}));
    ASSERT_NE(decoded.image.image, nullptr);
    EXPECT_EQ(decoded.at(0, 0), 0xFFFEFEFEu);
    EXPECT_EQ(decoded.at(1, 0), 0u) << "no colour survives alpha 0";
    EXPECT_EQ(decoded.at(2, 0), 0x80324B64u) << "blue, green, red in memory, each times alpha over 256";
}

TEST(PngDecoding, ImagesWithoutAlphaBecomeOpaqueAndGreyBecomesThreeEqualChannels) {
    PngFormat rgb;
    rgb.colourType = PNG_COLOR_TYPE_RGB;
    EXPECT_EQ(Decoded(writePng(rgb, Rows{{10, 20, 30}})).at(0, 0), 0xFF09131Du);
    PngFormat grey;
    grey.colourType = PNG_COLOR_TYPE_GRAY;
    EXPECT_EQ(Decoded(writePng(grey, Rows{{128}})).at(0, 0), 0xFF7F7F7Fu);
    PngFormat oneBit;
    oneBit.colourType = PNG_COLOR_TYPE_GRAY;
    oneBit.bitDepth = 1;
    oneBit.width = 2;
    const Decoded bits(writePng(oneBit, Rows{{0x80}}));
    EXPECT_EQ(bits.at(0, 0), 0xFFFEFEFEu);
    EXPECT_EQ(bits.at(1, 0), 0xFF000000u);
    PngFormat greyAlpha;
    greyAlpha.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    EXPECT_EQ(Decoded(writePng(greyAlpha, Rows{{200, 100}})).at(0, 0), 0x644E4E4Eu);
}

TEST(PngDecoding, SixteenBitSamplesKeepTheirHighByte) {
    PngFormat format;
    format.bitDepth = 16;
    EXPECT_EQ(Decoded(writePng(format, Rows{{0xAB, 0xCD, 0x12, 0x34, 0xFF, 0xFF, 0xFF, 0xFF}})).at(0, 0), 0xFFAA11FEu);
}

TEST(PngDecoding, TransparencyChunksBecomeAlphaForPalettesAndKeyColours) {
    PngFormat palette;
    palette.colourType = PNG_COLOR_TYPE_PALETTE;
    palette.width = 2;
    palette.palette = {{255, 0, 0}, {0, 0, 255}};
    palette.paletteAlpha = {128};
    const Decoded indexed(writePng(palette, Rows{{0, 1}}));
    EXPECT_EQ(indexed.at(0, 0), 0x807F0000u) << "half-transparent red keeps red in the red byte";
    EXPECT_EQ(indexed.at(1, 0), 0xFF0000FEu);
    PngFormat keyed;
    keyed.colourType = PNG_COLOR_TYPE_RGB;
    keyed.width = 2;
    keyed.keyColour = true;
    keyed.key.red = 0;
    keyed.key.green = 255;
    keyed.key.blue = 0;
    const Decoded key(writePng(keyed, Rows{{0, 255, 0, 1, 2, 3}}));
    EXPECT_EQ(key.at(0, 0), 0u);
    EXPECT_EQ(key.at(1, 0), 0xFF000102u);
}

TEST(PngDecoding, TheFirstRowIsTheTopRowAndInterlacedImagesDecodeAlike) {
    PngFormat format;
    format.width = 9;
    format.height = 7;
    Rows rows(7, std::vector<std::uint8_t>(9 * 4));
    std::mt19937 random(5);
    for (auto& row : rows) {
        for (auto& sample : row) {
            sample = static_cast<std::uint8_t>(random() | 1u);  // never a zero alpha
        }
    }
    const Decoded plain(writePng(format, rows));
    format.interlaced = true;
    const Decoded interlaced(writePng(format, rows));
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 9; ++x) {
            const std::uint8_t* rgba = &rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x) * 4];
            const std::uint32_t blue = static_cast<std::uint32_t>(rgba[2] * rgba[3]) >> 8;
            ASSERT_EQ(plain.at(x, y) & 0xFFu, blue) << x << "," << y;
            ASSERT_EQ(plain.at(x, y) >> 24, rgba[3]);
            ASSERT_EQ(interlaced.at(x, y), plain.at(x, y)) << x << "," << y;
        }
    }
}

TEST(PngDecoding, DamagedDataEndsTheDecodeWithoutHarm) {
    PngFormat format;
    format.width = 40;
    format.height = 40;
    Rows rows(40, std::vector<std::uint8_t>(40 * 4, 200));
    std::vector<std::uint8_t> png = writePng(format, rows);
    png.resize(png.size() / 2);
    const Decoded truncated(png);
    EXPECT_EQ(truncated.image.width, 40) << "the header was read";
    const std::vector<std::uint8_t> garbage(64, 0x5A);
    const Decoded nothing(garbage);
    EXPECT_EQ(nothing.image.image, nullptr);
    EXPECT_EQ(nothing.image.width, 0);
    EXPECT_EQ(gui::readPngImage(nullptr, 0).image, nullptr);
}

// A header may declare any size up to 2^31 - 1 per side: the store is made only for a size a panel's
// image can have, never gigabytes because a few bytes claim them.
TEST(PngDecoding, DeclaredSizesBeyondTheBudgetMakeNoStore) {
    PngFormat format;
    format.width = 2;
    format.height = 2;
    const std::vector<std::uint8_t> small = writePng(format, Rows(2, std::vector<std::uint8_t>(2 * 4, 90)));
    // The header chunk's width and height at bytes 16 and 20, then its checksum over type and data.
    auto declaring = [&](std::uint32_t width, std::uint32_t height) {
        std::vector<std::uint8_t> png = small;
        for (int i = 0; i < 4; ++i) {
            png[16 + i] = static_cast<std::uint8_t>(width >> (24 - 8 * i));
            png[20 + i] = static_cast<std::uint8_t>(height >> (24 - 8 * i));
        }
        const auto crc = static_cast<std::uint32_t>(crc32(crc32(0, nullptr, 0), png.data() + 12, 17));
        for (int i = 0; i < 4; ++i) {
            png[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        }
        return png;
    };
    const Decoded largest(declaring(4096, 4096));
    EXPECT_NE(largest.image.image, nullptr) << "16 million pixels still decode, as far as the data goes";
    for (const auto& [width, height] :
         {std::pair<std::uint32_t, std::uint32_t>{4097, 4096}, {40000, 40000}, {0x7fffffff, 1}, {1, 40000}}) {
        const Decoded refused(declaring(width, height));
        EXPECT_EQ(refused.image.image, nullptr) << width << " x " << height;
    }
}

// The frame loads the blending library that bitmaps with alpha are drawn through.
class EditorImages : public ::testing::Test {
protected:
    EditorImages() : frame(new gui::CFrame(CRect(0, 0, 10, 10), nullptr, nullptr)) {}
    ~EditorImages() override { frame->forget(); }
    gui::CFrame* frame;
};

TEST_F(EditorImages, AllSixLoadFromTheResourcesWithTheirSizes) {
    const struct {
        int id, width, height;
    } expected[] = {{128, 396, 550}, {129, 38, 261}, {130, 41, 51}, {131, 55, 55}, {132, 23, 24}, {133, 55, 220}};
    for (const auto& image : expected) {
        auto* bitmap = new gui::CBitmap(image.id);
        EXPECT_EQ(bitmap->getWidth(), image.width) << image.id;
        EXPECT_EQ(bitmap->getHeight(), image.height) << image.id;
        EXPECT_TRUE(bitmap->hasAlpha());
        EXPECT_NE(bitmap->getHandle(), nullptr);
        bitmap->forget();
    }
    auto* missing = new gui::CBitmap(999);
    EXPECT_EQ(missing->getWidth(), 0);
    EXPECT_FALSE(missing->loadFromResource(998));
    EXPECT_FALSE(missing->loadFromPath("panel.png"));
    Canvas canvas(4, 4);
    canvas.fill(0x00123456u);
    gui::CDrawContext context(nullptr, canvas.dc, nullptr);
    missing->draw(&context, CRect(0, 0, 4, 4));
    EXPECT_EQ(canvas.at(1, 1), 0x00123456u);
    missing->forget();
}

TEST_F(EditorImages, AStripFrameIsDrawnFromItsOffsetAndBothDrawingsAgree) {
    HRSRC resource = FindResourceA(nullptr, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(133)), "PNG");
    ASSERT_NE(resource, nullptr);
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, resource)));
    const Decoded strip(std::vector<std::uint8_t>(bytes, bytes + SizeofResource(nullptr, resource)));
    auto* bitmap = new gui::CBitmap(133);
    Canvas drawn(60, 60);
    Canvas transparent(60, 60);
    drawn.fill(0);
    transparent.fill(0);
    {
        gui::CDrawContext context(nullptr, drawn.dc, nullptr);
        context.offset = gui::CPoint(2, 1);
        bitmap->draw(&context, CRect(3, 4, 58, 59), gui::CPoint(0, 110));
        gui::CDrawContext other(nullptr, transparent.dc, nullptr);
        other.offset = gui::CPoint(2, 1);
        bitmap->drawTransparent(&other, CRect(3, 4, 58, 59), gui::CPoint(0, 110));
    }
    int opaque = 0;
    for (int y = 0; y < 55; ++y) {
        for (int x = 0; x < 55; ++x) {
            // Over black, a premultiplied pixel blends to itself.
            const std::uint32_t expected = strip.at(x, 110 + y) & 0xFFFFFFu;
            ASSERT_EQ(drawn.at(x + 5, y + 5) & 0xFFFFFFu, expected) << x << "," << y;
            ASSERT_EQ(transparent.at(x + 5, y + 5), drawn.at(x + 5, y + 5));
            opaque += strip.at(x, 110 + y) >> 24 == 255 ? 1 : 0;
        }
    }
    EXPECT_GT(opaque, 1000) << "the frame has a body";
    EXPECT_EQ(drawn.at(4, 30) & 0xFFFFFFu, 0u) << "nothing left of the rectangle";
    EXPECT_EQ(drawn.at(5, 5), 0u) << "the knob's corner is transparent";
    bitmap->forget();
}

}  // namespace
}  // namespace guitest
