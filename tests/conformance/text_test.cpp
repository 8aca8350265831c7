// Text conformance: layout of single-line text in a rectangle, by position and ink bounds.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/conformance/support.h"

namespace conformance {
namespace {

// Fonts differ between systems (Arial on Windows, a metric-compatible face elsewhere, with or without
// anti-aliasing), so text is compared by where its ink lies, within this many pixels.
constexpr int kTolerance = 2;

HFONT arial(int pixels, bool bold = false, bool underline = false) {
    LOGFONTA font{};
    font.lfHeight = -pixels;
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfUnderline = underline ? 1 : 0;
    font.lfOutPrecision = OUT_STRING_PRECIS;
    font.lfClipPrecision = CLIP_STROKE_PRECIS;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::strcpy(font.lfFaceName, "Arial");
    return CreateFontIndirectA(&font);
}

struct Drawn {
    Bounds ink;
    int answer = 0;
};

Drawn draw(const char* text, RECT rect, UINT alignment, HFONT font, int mode = TRANSPARENT) {
    Canvas canvas(200, 40);
    HGDIOBJ old = SelectObject(canvas.dc, font);
    SetTextColor(canvas.dc, RGB(255, 255, 255));
    SetBkColor(canvas.dc, RGB(0, 0, 255));
    SetBkMode(canvas.dc, mode);
    Drawn drawn;
    drawn.answer = DrawTextA(canvas.dc, text, -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | alignment);
    drawn.ink = inkBounds(canvas, 0);
    SelectObject(canvas.dc, old);
    return drawn;
}

void expectNear(const Bounds& actual, const Bounds& expected) {
    EXPECT_NEAR(actual.left, expected.left, kTolerance);
    EXPECT_NEAR(actual.top, expected.top, kTolerance);
    EXPECT_NEAR(actual.right, expected.right, kTolerance);
    EXPECT_NEAR(actual.bottom, expected.bottom, kTolerance);
}

TEST(TextConformance, CentredTextSitsInTheMiddleOfItsRectangle) {
    HFONT font = arial(12);
    // Measured on Windows' GDI: a 14-pixel cell (ascent 11), the string 95 pixels wide.
    const Drawn drawn = draw("Freq 1 Filter Type", {10, 5, 190, 35}, DT_CENTER, font);
    EXPECT_EQ(drawn.answer, 22) << "distance from the rectangle's top to the text's bottom";
    expectNear(drawn.ink, {53, 15, 146, 27});
    DeleteObject(font);
}

TEST(TextConformance, AlignmentMovesTheTextToEitherEdge) {
    HFONT font = arial(12);
    const Drawn left = draw("Filter", {20, 0, 180, 40}, DT_LEFT, font);
    const Drawn right = draw("Filter", {20, 0, 180, 40}, DT_RIGHT, font);
    EXPECT_NEAR(left.ink.left, 20, kTolerance);
    EXPECT_NEAR(right.ink.right, 180, kTolerance);
    EXPECT_EQ(left.ink.right - left.ink.left, right.ink.right - right.ink.left);
    EXPECT_EQ(left.ink.top, right.ink.top);
    DeleteObject(font);
}

TEST(TextConformance, OpaqueTextFillsItsCellWithTheBackgroundColour) {
    HFONT font = arial(14);
    Canvas canvas(200, 40);
    SelectObject(canvas.dc, font);
    SetTextColor(canvas.dc, RGB(255, 255, 255));
    SetBkColor(canvas.dc, RGB(0, 0, 255));
    SetBkMode(canvas.dc, OPAQUE);
    RECT rect{0, 0, 200, 40};
    const int answer =
        DrawTextA(canvas.dc, "Band Pass", -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_CENTER);
    const Bounds cell = inkBounds(canvas, 0);
    EXPECT_EQ(cell.bottom, answer) << "the cell ends where the text does";
    EXPECT_NEAR(cell.bottom - cell.top, 16, 1) << "Arial at 14 pixels has a 16-pixel cell";
    EXPECT_NEAR((cell.left + cell.right) / 2, 100, 1);
    EXPECT_EQ(canvas.at(cell.left, cell.top), 0x000000FFu);
    SelectObject(canvas.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

TEST(TextConformance, TextIsClippedToItsRectangle) {
    HFONT font = arial(14);
    const Drawn drawn = draw("A rather long caption", {50, 0, 90, 40}, DT_LEFT, font);
    EXPECT_GE(drawn.ink.left, 50);
    EXPECT_LE(drawn.ink.right, 90);
    DeleteObject(font);
}

TEST(TextConformance, RectanglesAtTheEndsOfTheCoordinateRangeDrawNothingOnTheSurface) {
    HFONT font = arial(14);
    // Centring within them, and the cell's right and bottom edges, lie beyond what an int holds.
    const RECT farRight{0x7FFFFFF0, 0x7FFFFFF0, 0x7FFFFFFF, 0x7FFFFFFF};
    EXPECT_TRUE(draw("Far away", farRight, DT_CENTER, font).ink.empty());
    const RECT farLeft{-0x7FFFFFFF - 1, 0, -0x7FFFFFF0, 40};
    EXPECT_TRUE(draw("Far away", farLeft, DT_RIGHT, font).ink.empty());
    DeleteObject(font);
}

TEST(TextConformance, BoldIsWiderAndUnderlineReachesBelowTheBaseline) {
    HFONT normal = arial(14);
    HFONT bold = arial(14, true);
    HFONT underlined = arial(14, false, true);
    // Capitals only: without descenders the ink of plain text ends at the baseline.
    const Drawn plain = draw("FILTER", {0, 0, 200, 40}, DT_LEFT, normal);
    const Drawn heavy = draw("FILTER", {0, 0, 200, 40}, DT_LEFT, bold);
    const Drawn lined = draw("FILTER", {0, 0, 200, 40}, DT_LEFT, underlined);
    EXPECT_GT(heavy.ink.right, plain.ink.right);
    EXPECT_GT(lined.ink.bottom, plain.ink.bottom);
    EXPECT_LE(lined.ink.bottom, plain.ink.bottom + 4);
    DeleteObject(normal);
    DeleteObject(bold);
    DeleteObject(underlined);
}

}  // namespace
}  // namespace conformance
