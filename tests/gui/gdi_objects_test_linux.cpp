// What the sanitizers cannot see: GDI objects and device contexts live in the subset's handle table, so
// a context or bitmap that forgets to delete one would leak it unnoticed. Counted here on Linux.
#include <gtest/gtest.h>

#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/frame.h"
#include "platform/testing/test_driver.h"
#include "tests/conformance/support.h"
#include "tests/gui/toolkit_harness.h"

namespace guitest {
namespace {

using gui::CRect;
using platform::testing::Driver;

class TextView : public gui::CView {
public:
    TextView() : CView(CRect(0, 0, 100, 40)) {}
    void draw(gui::CDrawContext* context) override {
        for (std::int32_t font = 0; font < gui::kNumStandardFonts; ++font) {
            context->setFont(font, font % 2 == 0 ? gui::kBoldFace : 0);
            context->setFillColor(gui::CColor{static_cast<std::uint8_t>(font), 0, 0, 255});
            context->setFrameColor(gui::CColor{0, static_cast<std::uint8_t>(font), 0, 255});
            context->drawString("Hz", size, true, font % 3);
            context->drawRect(size);
        }
        setDirty(false);
    }
};

TEST(ToolkitResources, ATreeDrawnAndDestroyedLeavesNoGdiObjectBehind) {
    conformance::Canvas canvas(200, 120);
    const std::size_t before = Driver::liveGdiObjects();
    {
        auto* frame = new gui::CFrame(CRect(0, 0, 200, 120), nullptr, nullptr);
        auto* strip = new gui::CBitmap(133);
        frame->setBackground(strip);
        auto* inset = new gui::CViewContainer(CRect(60, 10, 180, 100), frame);
        inset->useOffscreen(true);
        inset->setTransparency(true);
        frame->addView(inset);
        inset->addView(new TextView);
        auto* knob = new gui::CView(CRect(0, 0, 55, 55));
        knob->setBackground(strip);
        inset->addView(knob);
        strip->forget();
        gui::CDrawContext context(frame, canvas.dc, nullptr);
        frame->draw(&context);
        frame->getBackBuffer();
        frame->draw(frame->getBackBuffer());
        knob->setDirty(true);
        frame->update(&context);
        CRect resized(50, 10, 190, 110);
        inset->setViewSize(resized);
        frame->draw(&context);
        frame->forget();
    }
    EXPECT_EQ(Driver::liveGdiObjects(), before);
}

}  // namespace
}  // namespace guitest

namespace guitest {
namespace {

TEST(ToolkitResources, AnEditorsControlsUsedAndDestroyedLeaveNoGdiObjectBehind) {
    conformance::openHostWindow(kHostX, kHostY, kHostWidth, kHostHeight);
    const std::size_t before = Driver::liveGdiObjects();
    {
        FrameInHost frame;
        EditorControls controls(frame.frame, &frame.listener, 0.25f, 0.75f, 0.0f);
        frame.frame->idle();
        frame.paint();
        auto step = [](int x, int y, bool left) {
            Step at;
            at.at = FrameInHost::screen(x, y);
            at.left = left;
            return at;
        };
        frame.input.play({step(44, 300, true), step(44, 350, true), step(44, 350, true), step(44, 350, false)});
        frame.input.play({step(242, 345, true), step(242, 345, false)});
        frame.input.turnWheel(frame.frame->getNativeWindow(), FrameInHost::screen(151, 300), 2);
        frame.input.click(FrameInHost::screen(44, 513));
        frame.paint();
        frame.input.typeText("2000");
        frame.input.pressKey(VK_RETURN);
        frame.input.click(FrameInHost::screen(151, 513));
        frame.paint();
        EXPECT_NE(controls.upperDisplay->getEditBox(), nullptr);
        EXPECT_NE(frame.log, "");
        frame.frame->setSize(300, 400);
        frame.paint();
    }
    EXPECT_EQ(Driver::liveGdiObjects(), before) << "the frame went with its edit box still open";
    conformance::closeHostWindow();
}

}  // namespace
}  // namespace guitest
