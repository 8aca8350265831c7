// Drawing through the tree: clips and offsets through nested and offscreen containers, backgrounds,
// partial redraws and the redraw of dirty views.
#include <gtest/gtest.h>

#include "gui/frame.h"
#include "tests/conformance/support.h"
#include "tests/gui/probe_view.h"

namespace guitest {
namespace {

using conformance::Canvas;
using conformance::pixelOf;
using gui::CColor;
using gui::CDrawContext;
using gui::CFrame;
using gui::CPoint;
using gui::CRect;
using gui::CViewContainer;

constexpr std::uint32_t kGreyPixel = 0x00808080u;
constexpr CColor kFrameColour{0, 0, 128, 255};
constexpr CColor kInnerColour{0, 128, 0, 255};

// frame (200 x 150) > outer (20, 10)-(120, 110) > inner (10, 20)-(60, 70) > probe (5, 5)-(25, 25)
struct Nest {
    explicit Nest(bool innerOffscreen, CColor frameColour = kFrameColour) {
        frame = new CFrame(CRect(0, 0, 200, 150), nullptr, nullptr);
        frame->setBackgroundColor(frameColour);
        outer = new CViewContainer(CRect(20, 10, 120, 110), frame);
        outer->setTransparency(true);
        frame->addView(outer);
        inner = new CViewContainer(CRect(10, 20, 60, 70), frame);
        inner->setBackgroundColor(kInnerColour);
        inner->useOffscreen(innerOffscreen);
        outer->addView(inner);
        probe = new ProbeView(CRect(5, 5, 25, 25), &record);
        inner->addView(probe);
    }
    ~Nest() { frame->forget(); }
    Nest(const Nest&) = delete;
    Nest& operator=(const Nest&) = delete;

    std::string drawn(Canvas& canvas) {
        canvas.fill(kGreyPixel);
        CDrawContext context(frame, canvas.dc, nullptr);
        frame->draw(&context);
        return canvas.mask(0, 0, 80, 80, kGreyPixel);
    }

    CFrame* frame;
    CViewContainer* outer;
    CViewContainer* inner;
    ProbeView* probe;
    ProbeRecord record;
};

TEST(ContainerDrawing, NestedContainersShiftTheOffsetAndClipEachChildToItsRectangle) {
    Nest nest(false);
    Canvas canvas(200, 150);
    nest.drawn(canvas);
    EXPECT_EQ(nest.record.lastOffset, CPoint(30, 30));
    EXPECT_EQ(nest.record.lastClip, CRect(5, 5, 25, 25));
    // The probe filled everything it was allowed to: exactly its rectangle, less the fill's own edge.
    EXPECT_EQ(canvas.at(34, 34), pixelOf(RGB(0, 128, 0)));
    EXPECT_EQ(canvas.at(35, 35), pixelOf(RGB(255, 0, 0)));
    EXPECT_EQ(canvas.at(54, 54), pixelOf(RGB(255, 0, 0)));
    EXPECT_EQ(canvas.at(55, 55), pixelOf(RGB(0, 128, 0)));
    EXPECT_EQ(canvas.at(31, 31), pixelOf(RGB(0, 128, 0))) << "the inner container's colour";
    EXPECT_EQ(canvas.at(30, 30), pixelOf(RGB(0, 0, 128))) << "a fill leaves the first row and column to an outline";
    EXPECT_EQ(canvas.at(80, 30), pixelOf(RGB(0, 0, 128))) << "the transparent outer container draws nothing";
    EXPECT_EQ(canvas.at(0, 0), kGreyPixel) << "the frame's own fill leaves its first row and column";
    EXPECT_FALSE(nest.frame->isDirty());
}

TEST(ContainerDrawing, AnOffscreenContainerGivesTheSamePixelsAsDrawingDirectly) {
    // On black: a new offscreen bitmap is black, and the container's fill leaves its first row and column.
    Canvas direct(200, 150);
    Canvas offscreen(200, 150);
    Nest plain(false, gui::kBlackCColor);
    Nest buffered(true, gui::kBlackCColor);
    EXPECT_EQ(buffered.drawn(offscreen), plain.drawn(direct));
    ASSERT_NE(buffered.inner->getOffscreen(), nullptr);
    EXPECT_EQ(buffered.record.lastOffset, CPoint(0, 0)) << "children draw into the buffer at its origin";
    EXPECT_EQ(buffered.record.lastClip, CRect(5, 5, 25, 25));
    for (int y = 0; y < 150; ++y) {
        for (int x = 0; x < 200; ++x) {
            ASSERT_EQ(offscreen.at(x, y), direct.at(x, y)) << x << "," << y;
        }
    }
    buffered.inner->useOffscreen(false);
    EXPECT_EQ(buffered.inner->getOffscreen(), nullptr);
}

TEST(ContainerDrawing, APartialRedrawLeavesADirtyChildDirtyUntilAllOfItWasDrawn) {
    Nest nest(false);
    Canvas canvas(200, 150);
    nest.drawn(canvas);
    CDrawContext context(nest.frame, canvas.dc, nullptr);
    nest.probe->setDirty(true);
    // In the inner container's parent's coordinates: the probe is at (15, 25)-(35, 45) there.
    nest.inner->drawRect(&context, CRect(0, 0, 25, 35));
    EXPECT_EQ(nest.record.partialDraws, 1);
    EXPECT_EQ(nest.record.lastClip, CRect(5, 5, 15, 15));
    EXPECT_TRUE(nest.probe->isDirty()) << "the part outside the update is still to be drawn";
    nest.inner->drawRect(&context, CRect(0, 0, 60, 70));
    EXPECT_FALSE(nest.probe->isDirty());
    const int before = nest.record.draws;
    nest.inner->drawRect(&context, CRect(40, 40, 60, 70));
    EXPECT_EQ(nest.record.draws, before) << "a child outside the update is not drawn";
}

TEST(ContainerDrawing, UpdateRedrawsOnlyDirtyChildrenOverAFreshBackground) {
    Nest nest(false);
    Canvas canvas(200, 150);
    nest.drawn(canvas);
    CDrawContext context(nest.frame, canvas.dc, nullptr);
    // The container's update by mode, which the frame's own runs through its back buffer.
    // Paint over the probe's area; an update with nothing dirty must leave it.
    canvas.at(40, 40) = 0x00FFFFFFu;
    nest.frame->CViewContainer::update(&context);
    EXPECT_EQ(canvas.at(40, 40), 0x00FFFFFFu);
    nest.probe->setDirty(true);
    const int before = nest.record.draws;
    nest.frame->CViewContainer::update(&context);
    EXPECT_EQ(nest.record.draws, before + 1);
    EXPECT_EQ(canvas.at(40, 40), pixelOf(RGB(255, 0, 0)));
    EXPECT_FALSE(nest.probe->isDirty());
    EXPECT_FALSE(nest.frame->isDirty());
}

TEST(ContainerDrawing, ATransparentOffscreenContainerIsComposedOverItsParent) {
    CFrame* frame = new CFrame(CRect(0, 0, 60, 40), nullptr, nullptr);
    frame->setBackgroundColor(kFrameColour);
    auto* overlay = new CViewContainer(CRect(10, 10, 50, 30), frame);
    overlay->setTransparency(true);
    overlay->useOffscreen(true);
    frame->addView(overlay);
    ProbeRecord record;
    overlay->addView(new ProbeView(CRect(20, 0, 40, 20), &record));
    Canvas canvas(60, 40);
    CDrawContext context(frame, canvas.dc, nullptr);
    frame->draw(&context);
    EXPECT_EQ(canvas.at(15, 15), pixelOf(RGB(0, 0, 128))) << "the parent shows through";
    EXPECT_EQ(canvas.at(35, 15), pixelOf(RGB(255, 0, 0)));
    frame->forget();
}

}  // namespace
}  // namespace guitest
