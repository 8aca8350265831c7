// The value model every control shares: the dirty rule, clamping, the control-click reset, modifier
// presses offered to the listener, and the type questions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gui/draw_context.h"
#include "tests/gui/toolkit_harness.h"

namespace guitest {
namespace {

// The least a control needs: a draw that ends clean.
class PlainControl : public gui::CControl {
public:
    explicit PlainControl(CControlListener* owner = nullptr) : CControl(gui::CRect(0, 0, 10, 10), owner, 5) {}
    void draw(gui::CDrawContext* /*context*/) override { setDirty(false); }
};

// Takes every press that carries a modifier.
class GreedyListener : public CControlListener {
public:
    void valueChanged(gui::CDrawContext* /*context*/, gui::CControl* /*control*/) override { ++changes; }
    std::int32_t controlModifierClicked(gui::CDrawContext* /*context*/, gui::CControl* /*control*/,
                                        std::int32_t buttons) override {
        offered.push_back(buttons);
        return 1;
    }
    int changes = 0;
    std::vector<std::int32_t> offered;
};

TEST(ControlValue, ADirtyControlIsOneWhoseValueDiffersFromTheLastDrawn) {
    auto* control = new PlainControl;
    EXPECT_TRUE(control->isDirty()) << "a new control is drawn at the first update";
    EXPECT_EQ(control->getOldValue(), -1.0f);
    control->draw(nullptr);
    EXPECT_FALSE(control->isDirty());
    control->setValue(0.7f);
    EXPECT_TRUE(control->isDirty());
    control->draw(nullptr);
    control->setValue(0.7f);
    EXPECT_FALSE(control->isDirty()) << "the value last drawn";
    control->setDirty(true);
    EXPECT_TRUE(control->isDirty()) << "a redraw asked for";
    control->setValue(-1.0f);
    control->setDirty(true);
    EXPECT_EQ(control->getOldValue(), 0.0f) << "never the value itself";
    control->setValue(std::nanf(""));
    control->draw(nullptr);
    EXPECT_TRUE(control->isDirty()) << "NaN never equals what was drawn";
    control->forget();
}

TEST(ControlValue, BounceValueClampsToTheRangeAndLeavesNaN) {
    auto* control = new PlainControl;
    control->setValue(1.2f);
    control->bounceValue();
    EXPECT_EQ(control->getValue(), 1.0f);
    control->setValue(-0.3f);
    control->bounceValue();
    EXPECT_EQ(control->getValue(), 0.0f);
    control->setValue(std::nanf(""));
    control->bounceValue();
    EXPECT_TRUE(std::isnan(control->getValue()));
    control->setMin(0.2f);
    control->setMax(0.4f);
    control->setValue(0.5f);
    control->bounceValue();
    EXPECT_EQ(control->getValue(), 0.4f);
    control->setValue(7.0f);
    EXPECT_EQ(control->getValue(), 7.0f) << "setValue stores anything";
    control->forget();
}

TEST(ControlValue, OnlyAPlainControlClickInAFrameResets) {
    std::string log;
    TestEditor editor(&log);
    auto* frame = new gui::CFrame(gui::CRect(0, 0, 50, 50), nullptr, &editor);
    RecordingListener listener(&log);
    auto* control = new PlainControl(&listener);
    EXPECT_FALSE(control->checkDefaultValue(nullptr, gui::kControl | gui::kLButton)) << "not in a frame yet";
    frame->addView(control);
    control->setValue(0.25f);
    control->draw(nullptr);
    EXPECT_FALSE(control->checkDefaultValue(nullptr, gui::kControl | gui::kLButton | gui::kShift));
    EXPECT_FALSE(control->checkDefaultValue(nullptr, gui::kControl | gui::kRButton));
    EXPECT_TRUE(control->checkDefaultValue(nullptr, gui::kControl | gui::kLButton));
    EXPECT_EQ(control->getValue(), 0.5f);
    EXPECT_EQ(log, "begin 5; value 5=0.5; end 5; ");
    EXPECT_EQ(frame->getFocusView(), control) << "the gesture took the focus";
    frame->forget();
}

TEST(ControlValue, AListenerThatTakesModifierPressesStopsEveryControl) {
    FrameInHost frame;
    GreedyListener greedy;
    EditorControls controls(frame.frame, &greedy, 0.25f, 0.75f, 0.0f);
    frame.paint();
    frame.log.clear();
    gui::CDrawContext context(frame.frame, nullptr, frame.frame->getNativeWindow());
    gui::CPoint slider(44, 300);
    gui::CPoint display(44, 513);
    gui::CPoint modeSwitch(242, 370);
    controls.lowerSlider->mouse(&context, slider, gui::kLButton | gui::kControl);
    controls.lowerDisplay->mouse(&context, display, gui::kLButton | gui::kShift);
    controls.modeSwitch->mouse(&context, modeSwitch, gui::kLButton | gui::kAlt);
    controls.modeSwitch->mouse(&context, modeSwitch, gui::kAlt);
    EXPECT_EQ(greedy.offered, (std::vector<std::int32_t>{17, 9, 33})) << "the switch asks only with the left button";
    EXPECT_EQ(frame.log, "") << "no gesture began";
    EXPECT_EQ(controls.lowerSlider->getValue(), 0.25f) << "not even the control-click reset";
    EXPECT_EQ(controls.lowerDisplay->getEditBox(), nullptr);
    controls.lowerSlider->setMouseEnabled(false);
    controls.lowerSlider->mouse(&context, slider, gui::kLButton | gui::kShift);
    EXPECT_EQ(greedy.offered.size(), 3u) << "a disabled control ignores the press before anything else";
}

TEST(ControlValue, EveryControlAnswersForItsClassesAndTheDoubleClickTimeIsSensible) {
    FrameInHost frame;
    EditorControls controls(frame.frame, &frame.listener, 0.0f, 0.0f, 0.0f);
    for (gui::CControl* control :
         std::initializer_list<gui::CControl*>{controls.lowerSlider, controls.lowerDisplay, controls.modeSwitch}) {
        EXPECT_TRUE(control->isTypeOf("CControl"));
        EXPECT_TRUE(control->isTypeOf("CView"));
        EXPECT_FALSE(control->isTypeOf("CViewContainer"));
        EXPECT_FALSE(control->isTypeOf(nullptr));
    }
    EXPECT_TRUE(controls.lowerSlider->isTypeOf("CSlider"));
    EXPECT_TRUE(controls.lowerDisplay->isTypeOf("CTextEdit"));
    EXPECT_TRUE(controls.lowerDisplay->isTypeOf("CParamDisplay"));
    EXPECT_TRUE(controls.modeSwitch->isTypeOf("CVerticalSwitch"));
    EXPECT_FALSE(controls.modeSwitch->isTypeOf("CSlider"));
    EXPECT_EQ(controls.modeSwitch->getDefaultValue(), 0.0f);
    EXPECT_EQ(controls.lowerSlider->getDefaultValue(), 0.5f);
    EXPECT_FLOAT_EQ(controls.lowerSlider->getWheelInc(), 0.1f);
    EXPECT_EQ(controls.lowerSlider->getZoomFactor(), 10.0f);
    EXPECT_TRUE(controls.lowerSlider->getFreeClick());
    EXPECT_TRUE(controls.lowerSlider->wantsFocus());
    EXPECT_FALSE(controls.modeSwitch->wantsFocus());

    // Every control reads the double-click time when it is made: the system's, never shorter than
    // 250 ms. A display in the double-click style opens on the second of two clicks within it.
    frame.input.lengthenDoubleClicks(10000);
    auto* display = frame.add(
        new gui::CTextEdit(gui::CRect(250, 40, 330, 75), &frame.listener, 8, "x", nullptr, 1 | gui::kDoubleClickStyle));
    frame.paint();
    const POINT inside = FrameInHost::screen(290, 57);
    frame.input.click(inside);
    EXPECT_EQ(display->getEditBox(), nullptr) << "one click";
    frame.input.click(inside);
    ASSERT_NE(display->getEditBox(), nullptr) << "two clicks in a row";
    frame.input.pressKey(VK_RETURN);
    // Where time is virtual, at the edge of the double-click time.
    const DWORD doubleClickTime = std::max<DWORD>(GetDoubleClickTime(), 250);
    frame.input.click(inside);
    if (frame.input.advanceTime(doubleClickTime - 1)) {
        frame.input.click(inside);
        EXPECT_NE(display->getEditBox(), nullptr) << "the second click 1 ms within the double-click time";
        frame.input.pressKey(VK_RETURN);
        frame.input.click(inside);
        frame.input.advanceTime(doubleClickTime);
        frame.input.click(inside);
        EXPECT_EQ(display->getEditBox(), nullptr) << "the second click at the end of the double-click time";
        frame.input.click(inside);
        EXPECT_NE(display->getEditBox(), nullptr) << "that click was a first one";
        frame.input.pressKey(VK_RETURN);
    }
}

}  // namespace
}  // namespace guitest
