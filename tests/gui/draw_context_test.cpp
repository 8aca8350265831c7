// The drawing context: state changes reach the device only when a value changes, outlines and fills
// share no pixel, text alignment, fonts, and offscreen contexts.
#include <gtest/gtest.h>

#include "gui/draw_context.h"
#include "tests/conformance/support.h"

namespace guitest {
namespace {

using conformance::Canvas;
using conformance::pixelOf;
using gui::CDrawContext;
using gui::CPoint;
using gui::CRect;

constexpr gui::CColor kBlue{0, 0, 255, 255};
constexpr gui::CColor kGreen{0, 255, 0, 255};

TEST(DrawContextState, AnUnchangedPenBrushOrFontIsNotMadeOrSelectedAgain) {
    Canvas canvas(20, 20);
    CDrawContext context(nullptr, canvas.dc, nullptr);
    context.setFrameColor(kBlue);
    context.setFillColor(kGreen);
    context.setFont(gui::kNormalFont, 0);
    // Someone else selects other objects; repeating the same settings must not touch the device.
    HGDIOBJ blackPen = GetStockObject(BLACK_PEN);
    HGDIOBJ whiteBrush = GetStockObject(WHITE_BRUSH);
    HGDIOBJ systemFont = GetStockObject(SYSTEM_FONT);
    HGDIOBJ ownPen = SelectObject(canvas.dc, blackPen);
    HGDIOBJ ownBrush = SelectObject(canvas.dc, whiteBrush);
    HGDIOBJ ownFont = SelectObject(canvas.dc, systemFont);
    context.setFrameColor(kBlue);
    context.setLineWidth(1);
    context.setLineStyle(gui::kSolidLine);
    context.setFillColor(kGreen);
    context.setFont(gui::kNormalFont, 0);
    context.setDrawMode(gui::kCopyMode);
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_PEN), blackPen);
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_BRUSH), whiteBrush);
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_FONT), systemFont);
    // A new value makes and selects a new object.
    context.setFrameColor(kGreen);
    context.setFillColor(kBlue);
    context.setFont(gui::kNormalFont, gui::kBoldFace);
    EXPECT_NE(GetCurrentObject(canvas.dc, OBJ_PEN), blackPen);
    EXPECT_NE(GetCurrentObject(canvas.dc, OBJ_PEN), ownPen);
    EXPECT_NE(GetCurrentObject(canvas.dc, OBJ_BRUSH), whiteBrush);
    EXPECT_NE(GetCurrentObject(canvas.dc, OBJ_BRUSH), ownBrush);
    EXPECT_NE(GetCurrentObject(canvas.dc, OBJ_FONT), ownFont);
}

TEST(DrawContextState, TheClipIsComparedInDeviceCoordinatesAndTheTextColourAlwaysSet) {
    Canvas canvas(20, 20);
    canvas.fill(0);
    CDrawContext context(nullptr, canvas.dc, nullptr);
    context.setClipRect(CRect(0, 0, 10, 10));
    HRGN other = CreateRectRgn(10, 10, 20, 20);
    SelectClipRgn(canvas.dc, other);
    DeleteObject(other);
    context.offset = CPoint(4, 4);
    context.setClipRect(CRect(-4, -4, 6, 6));  // the same device rectangle
    CRect answered;
    EXPECT_EQ(context.getClipRect(answered), CRect(-4, -4, 6, 6));
    context.setFillColor(kBlue);
    context.fillRect(CRect(-5, -5, 20, 20));
    EXPECT_EQ(canvas.at(5, 5), 0u) << "the other clip is still selected";
    EXPECT_EQ(canvas.at(15, 15), pixelOf(RGB(0, 0, 255)));

    context.setFontColor(kGreen);
    SetTextColor(canvas.dc, RGB(1, 2, 3));
    context.setFontColor(kGreen);
    EXPECT_EQ(SetTextColor(canvas.dc, 0), RGB(0, 255, 0));
    SetBkColor(canvas.dc, RGB(9, 9, 9));
    context.setFillColor(kBlue);
    EXPECT_EQ(SetBkColor(canvas.dc, 0), RGB(9, 9, 9)) << "an unchanged fill colour sets nothing";
}

TEST(DrawContextFonts, IdsOutsideTheTableMeanTheSystemFont) {
    Canvas canvas(4, 4);
    CDrawContext context(nullptr, canvas.dc, nullptr);
    for (const std::int32_t id : {9, -1, gui::kNumStandardFonts}) {
        context.setFont(gui::kNormalFontVeryBig, 0);
        context.setFont(id, 0);
        EXPECT_EQ(context.getFont(), gui::kSystemFont) << id;
        EXPECT_EQ(context.getFontSize(), 12);
    }
    context.setFont(gui::kSymbolFont, gui::kItalicFace);
    EXPECT_EQ(context.getFontSize(), 13);
    EXPECT_EQ(context.getFontStyle(), gui::kItalicFace);
}

TEST(DrawContextDrawing, AnOutlineAndAFillOfOneRectangleCoverItExactlyOnce) {
    Canvas canvas(30, 30);
    canvas.fill(0);
    CDrawContext context(nullptr, canvas.dc, nullptr);
    context.offset = CPoint(2, 3);
    context.setFrameColor(kBlue);
    context.setFillColor(kGreen);
    context.drawRect(CRect(3, 2, 13, 9));
    context.fillRect(CRect(3, 2, 13, 9));
    EXPECT_EQ(canvas.mask(0, 0, 20, 15),
              "....................\n"
              "....................\n"
              "....................\n"
              "....................\n"
              "....................\n"
              ".....##########.....\n"
              ".....##########.....\n"
              ".....##########.....\n"
              ".....##########.....\n"
              ".....##########.....\n"
              ".....##########.....\n"
              ".....##########.....\n"
              "....................\n"
              "....................\n"
              "....................\n");
    const std::uint32_t blue = pixelOf(RGB(0, 0, 255));
    const std::uint32_t green = pixelOf(RGB(0, 255, 0));
    EXPECT_EQ(canvas.at(5, 5), blue);
    EXPECT_EQ(canvas.at(14, 5), blue);
    EXPECT_EQ(canvas.at(5, 11), blue);
    EXPECT_EQ(canvas.at(14, 11), green) << "the fill covers the outline's right column and bottom row";
    EXPECT_EQ(canvas.at(6, 6), green);
    EXPECT_EQ(canvas.at(13, 10), green);
    const CPoint segments[] = {{0, 0}, {0, 4}, {10, 0}, {14, 0}};
    context.drawLines(segments, 2);
    EXPECT_EQ(canvas.at(2, 6), blue) << "lines are offset too";
    EXPECT_EQ(canvas.at(2, 7), 0u) << "a segment ends before its last point";
    EXPECT_EQ(canvas.at(15, 3), blue);
}

TEST(DrawContextDrawing, LeftAlignedTextStartsOnePixelInsideTheRectangle) {
    auto inkLeft = [](std::int32_t alignment, int rectLeft) {
        Canvas canvas(120, 30);
        canvas.fill(0);
        CDrawContext context(nullptr, canvas.dc, nullptr);
        context.setFont(gui::kNormalFont, 0);
        context.drawString("Hz", CRect(rectLeft, 0, rectLeft + 100, 30), false, alignment);
        return conformance::inkBounds(canvas, 0);
    };
    const conformance::Bounds left = inkLeft(gui::kLeftText, 10);
    const conformance::Bounds shifted = inkLeft(gui::kLeftText, 11);
    const conformance::Bounds centred = inkLeft(gui::kCenterText, 10);
    const conformance::Bounds right = inkLeft(gui::kRightText, 10);
    ASSERT_FALSE(left.empty());
    EXPECT_EQ(shifted.left, left.left + 1);
    EXPECT_LE(left.left, 13) << "near the left edge";
    EXPECT_GE(right.right, 106) << "near the right edge, not one pixel in";
    EXPECT_LE(right.right, 110);
    EXPECT_NEAR((centred.left + centred.right) / 2, 60, 2);
    Canvas canvas(10, 10);
    CDrawContext context(nullptr, canvas.dc, nullptr);
    context.drawString(nullptr, CRect(0, 0, 10, 10));  // draws nothing, and survives
}

TEST(OffscreenContext, StartsInItsBackgroundColourAndCopiesOutAtAnOffset) {
    const gui::CColor colour{12, 34, 56, 255};
    auto* offscreen = new gui::COffscreenContext(nullptr, 10, 5, colour);
    Canvas canvas(20, 10);
    canvas.fill(0);
    CDrawContext target(nullptr, canvas.dc, nullptr);
    target.offset = CPoint(3, 2);
    offscreen->copyFrom(&target, CRect(1, 1, 11, 6));
    EXPECT_EQ(canvas.mask(0, 0, 20, 10),
              "....................\n"
              "....................\n"
              "....................\n"
              "....##########......\n"
              "....##########......\n"
              "....##########......\n"
              "....##########......\n"
              "....##########......\n"
              "....................\n"
              "....................\n");
    for (int y = 3; y < 8; ++y) {
        for (int x = 4; x < 14; ++x) {
            ASSERT_EQ(canvas.at(x, y) & 0xFFFFFFu, pixelOf(RGB(12, 34, 56))) << x << "," << y;
        }
    }
    // Text drawn offscreen uses the context's recorded defaults: white, bold Arial 12.
    offscreen->drawString("W", CRect(0, 0, 10, 5));
    EXPECT_EQ(offscreen->getFont(), gui::kSystemFont);
    offscreen->forget();
}

}  // namespace
}  // namespace guitest
