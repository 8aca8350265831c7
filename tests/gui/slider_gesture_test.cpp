// The slider and the switch driven through the real input path: presses the window system delivers, and
// tracking loops that read GetAsyncKeyState and GetCursorPos, one gesture step per iteration. Also the
// wheel, the arrow keys and values that no gesture could produce.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "tests/gui/toolkit_harness.h"

namespace guitest {
namespace {

constexpr int kLowerX = 44;  // the middle of the lower slider
constexpr int kSwitchX = 242;
constexpr int kSwitchTop = 330;

Step at(int x, int y, bool left = true, bool shift = false, bool control = false) {
    Step step;
    step.at = FrameInHost::screen(x, y);
    step.left = left;
    step.shift = shift;
    step.control = control;
    return step;
}

// The value the editor's slider takes at a height, before clamping: its grip line is y = 255.
float raw(int y) {
    return 1.0f - static_cast<float>(y - 255) / 209.0f;
}

std::vector<std::uint32_t> crop(const std::vector<std::uint32_t>& pixels, const gui::CRect& rect) {
    std::vector<std::uint32_t> part;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            part.push_back(pixels[static_cast<std::size_t>(y * 396 + x)]);
        }
    }
    return part;
}

class Gestures : public testing::Test {
protected:
    void SetUp() override { settle(); }
    // Draws what changed and forgets what was logged so far.
    void settle() {
        frame.frame->idle();
        frame.paint();
        frame.log.clear();
        frame.listener.values.clear();
        frame.editor.idleCalls = 0;
    }
    void setLower(float value) {
        controls.lowerSlider->setValue(value);
        settle();
    }

    FrameInHost frame;
    EditorControls controls{frame.frame, &frame.listener, 0.25f, 0.75f, 2.0f / 3.0f};
};

TEST_F(Gestures, APressOnTheGripLineGivesOneAndDraggingPastTheTrackGivesZero) {
    frame.input.play({at(kLowerX, 255), at(kLowerX, 300), at(kLowerX, 600), at(kLowerX, 600), at(kLowerX, 600, false)});
    EXPECT_EQ(frame.log, "begin 0; value 0=1; value 0=0.784689; value 0=0; end 0; ");
    EXPECT_EQ(controls.lowerSlider->getValue(), 0.0f);
}

TEST_F(Gestures, AButtonReleasedBeforeTheLoopLooksChangesNothing) {
    // The press arrives, but by the time the slider reads the buttons they are up again.
    gui::CDrawContext context(frame.frame, nullptr, frame.frame->getNativeWindow());
    gui::CPoint where(kLowerX, 300);
    controls.lowerSlider->mouse(&context, where, gui::kLButton);
    EXPECT_EQ(frame.log, "begin 0; end 0; ");
    EXPECT_EQ(controls.lowerSlider->getValue(), 0.25f);
}

TEST_F(Gestures, ShiftMovesTheHandleTenTimesSlower) {
    setLower(0.5f);
    frame.input.play({at(kLowerX, 300, true, true), at(kLowerX, 300, true, true), at(kLowerX, 400, true, true),
                      at(kLowerX, 400, true, true), at(kLowerX, 400, false)});
    ASSERT_EQ(frame.listener.values.size(), 2u) << frame.log;
    EXPECT_NEAR(frame.listener.values[0], 0.5f + (raw(300) - 0.5f) / 10.0f, 1e-6);
    EXPECT_NEAR(frame.listener.values[1] - frame.listener.values[0], -100.0 / 209.0 / 10.0, 1e-6)
        << "100 pixels move the value by a tenth of 100 / 209";
}

TEST_F(Gestures, ReleasingShiftJumpsToThePointer) {
    setLower(0.5f);
    frame.input.play({at(kLowerX, 300, true, true), at(kLowerX, 400, true, true), at(kLowerX, 400, true, true),
                      at(kLowerX, 400), at(kLowerX, 400), at(kLowerX, 400, false)});
    ASSERT_EQ(frame.listener.values.size(), 3u) << frame.log;
    EXPECT_NEAR(frame.listener.values[1], 0.5f + (raw(400) - 0.5f) / 10.0f, 1e-6);
    EXPECT_NEAR(frame.listener.values[2], raw(400), 1e-6) << "without shift the handle is under the pointer again";
}

TEST_F(Gestures, AControlClickResetsToTheDefaultWithoutADrag) {
    frame.input.play(
        {at(kLowerX, 300, true, false, true), at(kLowerX, 350, true, false, true), at(kLowerX, 350, false)});
    EXPECT_EQ(frame.log, "begin 0; value 0=0.5; end 0; ");
    EXPECT_EQ(frame.editor.idleCalls, 0) << "no tracking loop ran";
}

TEST_F(Gestures, ControlWithShiftIsNoResetButAFineDrag) {
    frame.input.play({at(kLowerX, 255, true, true, true), at(kLowerX, 255, true, true, true), at(kLowerX, 255, false)});
    EXPECT_EQ(frame.log, "begin 0; value 0=0.325; end 0; ");
    EXPECT_GT(frame.editor.idleCalls, 0);
}

TEST_F(Gestures, TheWheelStepsTheSliderUnderItAndClamps) {
    setLower(0.95f);
    const HWND window = frame.frame->getNativeWindow();
    frame.input.turnWheel(window, FrameInHost::screen(kLowerX, 300), 3);
    EXPECT_EQ(frame.log, "begin 0; value 0=1; end 0; ") << "0.95 + 3 x 0.1, clamped, reported once";
    settle();
    frame.input.turnWheel(window, FrameInHost::screen(kLowerX, 300), 3);
    EXPECT_EQ(frame.log, "") << "already at the top";
    frame.input.turnWheel(window, FrameInHost::screen(kLowerX, 300), -1);
    EXPECT_EQ(controls.lowerSlider->getValue(), 0.9f) << "one notch back is -1.0";

    // The message carries the pointer on the screen: the view under it is found in frame coordinates.
    settle();
    frame.input.turnWheel(window, FrameInHost::screen(151, 300), 1);
    EXPECT_FLOAT_EQ(controls.upperSlider->getValue(), 0.85f);
    EXPECT_EQ(controls.lowerSlider->getValue(), 0.9f);
    frame.input.setModifiers(true, false);
    frame.input.turnWheel(window, FrameInHost::screen(151, 300), -1);
    frame.input.setModifiers(false, false);
    EXPECT_FLOAT_EQ(controls.upperSlider->getValue(), 0.84f) << "a tenth of a step with shift";
    frame.input.turnWheel(window, FrameInHost::screen(300, 500), 1);
    EXPECT_EQ(frame.log, "begin 1; value 1=0.85; end 1; begin 1; value 1=0.84; end 1; ")
        << "nothing takes a turn over the plain panel";
}

TEST_F(Gestures, ArrowKeysStepTheFocusedSlider) {
    frame.frame->setFocusView(controls.lowerSlider);
    VstKeyCode up{0, 12, 0};
    VstKeyCode down{0, 14, 0};
    VstKeyCode fineRight{0, 13, 1};
    VstKeyCode letter{'a', 0, 0};
    EXPECT_TRUE(frame.editor.onKeyDown(up));
    EXPECT_FLOAT_EQ(controls.lowerSlider->getValue(), 0.35f);
    EXPECT_TRUE(frame.editor.onKeyDown(fineRight));
    EXPECT_FLOAT_EQ(controls.lowerSlider->getValue(), 0.36f);
    EXPECT_TRUE(frame.editor.onKeyDown(down));
    EXPECT_FLOAT_EQ(controls.lowerSlider->getValue(), 0.26f);
    EXPECT_FALSE(frame.editor.onKeyDown(letter));
    EXPECT_EQ(controls.lowerSlider->onKeyDown(letter), -1);
    EXPECT_FLOAT_EQ(controls.lowerSlider->getValue(), 0.26f);
    EXPECT_EQ(frame.log, "begin 0; value 0=0.35; end 0; begin 0; value 0=0.36; end 0; begin 0; value 0=0.26; end 0; ");
}

TEST_F(Gestures, TheSwitchSelectsTheBandUnderThePointer) {
    frame.input.play({at(kSwitchX, kSwitchTop + 14), at(kSwitchX, kSwitchTop + 14, false)});
    EXPECT_EQ(frame.log, "begin 2; value 2=0.333333; end 2; ") << "14 pixels down is the second of four bands";
    settle();
    frame.input.play({at(kSwitchX, kSwitchTop + 14), at(kSwitchX, kSwitchTop - 20), at(kSwitchX, kSwitchTop - 20),
                      at(kSwitchX, kSwitchTop + 120), at(kSwitchX, kSwitchTop + 120),
                      at(kSwitchX, kSwitchTop + 120, false)});
    EXPECT_EQ(frame.log, "begin 2; value 2=0; value 2=1; end 2; ") << "above the switch is 0, below it 1";
}

TEST_F(Gestures, PressingShiftDuringTheHoldEndsTheSwitchsLoop) {
    frame.input.play({at(kSwitchX, kSwitchTop + 14), at(kSwitchX, kSwitchTop + 42), at(kSwitchX, kSwitchTop + 42),
                      at(kSwitchX, kSwitchTop + 42, true, true), at(kSwitchX, kSwitchTop, true, true),
                      at(kSwitchX, kSwitchTop, false)});
    EXPECT_EQ(frame.log, "begin 2; value 2=0.333333; value 2=1; end 2; ")
        << "the move back to the top came after shift and was never read";
}

TEST_F(Gestures, AnyValueDrawsTheHandleOnItsTrackAndTheSwitchFromItsStrip) {
    const gui::CRect slider(25, 230, 63, 491);
    const gui::CRect knob(215, 330, 270, 385);
    auto drawn = [&](float lower, float mode) {
        controls.lowerSlider->setValue(lower);
        controls.modeSwitch->setValue(mode);
        settle();
        const std::vector<std::uint32_t> pixels = frame.pixels();
        return std::make_pair(crop(pixels, slider), crop(pixels, knob));
    };
    const auto bottom = drawn(0.0f, 0.0f);
    const auto top = drawn(1.0f, 1.0f);
    ASSERT_NE(bottom, top);
    const float infinity = std::numeric_limits<float>::infinity();
    EXPECT_EQ(drawn(std::nanf(""), std::nanf("")), bottom);
    EXPECT_EQ(drawn(-infinity, -infinity), bottom);
    EXPECT_EQ(drawn(-1e30f, -5.0f), bottom);
    EXPECT_EQ(drawn(infinity, infinity), top);
    EXPECT_EQ(drawn(1e30f, 1e30f), top);
    EXPECT_EQ(drawn(1.7f, 1.7f), top);
    EXPECT_EQ(drawn(0.5f, 0.5f).second, drawn(0.5f, 2.0f / 3.0f).second) << "0.5 shows image 2";
    EXPECT_NE(drawn(0.5f, 0.5f).second, drawn(0.5f, 1.0f / 3.0f).second);
}

TEST_F(Gestures, ASliderWithoutAHandleDrawsItsTrackAlone) {
    auto* track = new gui::CBitmap(129);
    auto* bare = new gui::CVerticalSlider(gui::CRect(300, 230, 338, 491), &frame.listener, 7, 230, 439, nullptr, track);
    bare->setTransparency(true);
    bare->setValue(0.5f);
    auto* plain = new gui::CView(gui::CRect(340, 230, 378, 491));
    plain->setBackground(track);
    plain->setTransparency(true);
    track->forget();
    frame.frame->addView(bare);
    frame.frame->addView(plain);
    settle();
    const std::vector<std::uint32_t> pixels = frame.pixels();
    EXPECT_EQ(crop(pixels, gui::CRect(300, 230, 338, 491)), crop(pixels, gui::CRect(340, 230, 378, 491)));
}

}  // namespace
}  // namespace guitest
