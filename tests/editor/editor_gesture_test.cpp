// Gestures end to end: real input on the editor's window reaches the host as automation inside its
// begin and end bracket, and the host's changes move the controls.
#include <gtest/gtest.h>

#include <thread>

#include "tests/editor/open_editor.h"
#include "tests/editor/panel_reading.h"

namespace editortest {
namespace {

TEST_F(OpenEditor, DraggingTheLowerSliderAutomatesParameterZeroInsideOneBracket) {
    // The loop reports where the pointer was at its previous step: the last position is held twice.
    host.drag({at(44, 420), at(44, 400), at(44, 380), at(44, 360), at(44, 360), at(44, 360, false)});
    const Bracketed seen = bracket();
    ASSERT_GE(seen.automated.size(), 3u);
    EXPECT_EQ(seen.events.front(), "begin 0");
    EXPECT_EQ(seen.events.back(), "end 0");
    for (std::size_t i = 1; i + 1 < seen.events.size(); ++i) {
        EXPECT_EQ(seen.events[i], "automate 0") << i;
    }
    for (std::size_t i = 1; i < seen.automated.size(); ++i) {
        EXPECT_GT(seen.automated[i], seen.automated[i - 1]) << "moving up raises the cut-off";
    }
    // A free click puts the handle's middle under the pointer: 360 is 105 pixels above 255 + 209.
    EXPECT_FLOAT_EQ(seen.automated.back(), 1.0f - (360.0f - 255.0f) / 209.0f);
    EXPECT_EQ(host.effect().getParameter(0), seen.automated.back());
}

TEST_F(OpenEditor, HostChangesMoveHandlesAndDisplaysAtTheNextIdle) {
    const Pixels before = host.pixels();
    host.effect().setParameter(0, 1.0f);
    EXPECT_EQ(host.pixels(), before) << "nothing is drawn before the idle";
    host.idle();
    const Pixels moved = host.pixels();
    EXPECT_EQ(region(moved, kLowerDisplay), displayShowing("20000 Hz"));
    host.effect().setParameter(0, 0.0f);
    host.idle();
    EXPECT_EQ(handleTop(moved, host.pixels(), 440, 25), 231);
    EXPECT_EQ(region(host.pixels(), kLowerDisplay), displayShowing("20 Hz"));
    // From another thread the controls follow at the next idle too.
    std::thread automation([this] { host.effect().setParameter(0, 1.0f); });
    automation.join();
    host.idle();
    EXPECT_EQ(host.pixels(), moved);
    EXPECT_TRUE(bracket().events.empty()) << "the host's own changes are not reported back";
}

TEST_F(OpenEditor, TypingAFrequencyAutomatesItsNormalisedValue) {
    host.click(44, 513);
    ASSERT_NE(host.focusWindow(), host.frameWindow()) << "the edit box has the keys";
    host.typeText("1000");
    host.pressKey(VK_RETURN);
    const Bracketed seen = bracket();
    ASSERT_EQ(seen.automated.size(), 1u);
    EXPECT_EQ(seen.events, (std::vector<std::string>{"begin 0", "end 0", "begin 0", "automate 0", "end 0"}));
    EXPECT_FLOAT_EQ(seen.automated[0], 0.158797025680542f);
    EXPECT_EQ(host.effect().getParameter(0), seen.automated[0]);
    host.idle();
    EXPECT_EQ(region(host.pixels(), kLowerDisplay), displayShowing("1000 Hz"));
}

TEST_F(OpenEditor, TypedFrequenciesStayInRangeAndTextWithoutANumberChangesNothing) {
    const struct {
        const char* typed;
        float parameter;
        const char* shown;
    } cases[] = {{"50000", 1.0f, "20000 Hz"}, {"12", 0.0f, "20 Hz"}, {"  230 Hz", 0.039253302f, "230 Hz"}};
    for (const auto& typed : cases) {
        host.click(44, 513);
        host.typeText(typed.typed);
        host.pressKey(VK_RETURN);
        EXPECT_FLOAT_EQ(host.effect().getParameter(0), typed.parameter) << typed.typed;
        host.idle();
        EXPECT_EQ(region(host.pixels(), kLowerDisplay), displayShowing(typed.shown)) << typed.typed;
    }
    host.effect().clearCalls();
    const float kept = host.effect().getParameter(0);
    host.click(44, 513);
    host.typeText("loud");
    host.pressKey(VK_RETURN);
    host.idle();
    EXPECT_EQ(bracket().automated.size(), 0u);
    EXPECT_EQ(host.effect().getParameter(0), kept);
    EXPECT_EQ(region(host.pixels(), kLowerDisplay), displayShowing("230 Hz")) << "the current value again";
}

TEST_F(OpenEditor, LeavingADisplayUnchangedAutomatesNothing) {
    host.click(44, 513);
    host.click(300, 470);  // the panel's plain field
    const Bracketed seen = bracket();
    EXPECT_EQ(seen.events, (std::vector<std::string>{"begin 0", "end 0"}));
}

TEST_F(OpenEditor, TheModeSwitchTurnsThroughAllFourPositions) {
    host.effect().setParameter(2, 1.0f);
    host.idle();
    host.effect().clearCalls();
    for (int y : {335, 350, 364, 378}) {
        host.drag({at(242, y), at(242, y, false)});
    }
    const Bracketed seen = bracket();
    EXPECT_EQ(seen.automated, (std::vector<float>{0.0f, 1.0f / 3.0f, 2.0f / 3.0f, 1.0f}));
    EXPECT_EQ(seen.events.front(), "begin 2");
    EXPECT_EQ(seen.events.back(), "end 2");
    EXPECT_EQ(host.effect().getParameter(2), 1.0f);
}

TEST_F(OpenEditor, WheelAndForwardedArrowKeysStepTheSlider) {
    host.effect().setParameter(0, 0.5f);
    host.idle();
    host.turnWheel(44, 300, 1);
    EXPECT_FLOAT_EQ(host.effect().getParameter(0), 0.6f);
    // A press gives the slider the keyboard focus; the host forwards the arrows.
    host.drag({at(44, 360), at(44, 360, false)});
    const float pressed = host.effect().getParameter(0);
    EXPECT_EQ(host.effect().dispatch(effEditKeyDown, 0, 12), 1);  // up
    EXPECT_FLOAT_EQ(host.effect().getParameter(0), pressed + 0.1f);
    EXPECT_EQ(host.effect().dispatch(effEditKeyDown, 0, 14, nullptr, 1.0f), 1);  // shift and down
    EXPECT_FLOAT_EQ(host.effect().getParameter(0), pressed + 0.09f);
    EXPECT_EQ(host.effect().dispatch(effEditKeyDown, 'q'), 0) << "not a slider's key";
    EXPECT_EQ(host.effect().dispatch(effEditKeyUp, 0, 12), 0);
}

TEST_F(OpenEditor, ControlClickResetsASliderToTheMiddle) {
    host.effect().setParameter(1, 0.9f);
    host.idle();
    host.effect().clearCalls();
    host.drag({at(151, 400, true, false, true), at(151, 400, false, false, true)});
    host.setModifiers(false, false);
    EXPECT_EQ(host.effect().getParameter(1), 0.5f);
    const Bracketed seen = bracket();
    ASSERT_FALSE(seen.automated.empty());
    EXPECT_EQ(seen.automated.back(), 0.5f);
}

TEST_F(OpenEditor, AProgramChangeMovesEveryControl) {
    host.effect().dispatch(effSetProgram, 0, 1);
    host.effect().setParameter(0, 0.0f);
    host.effect().setParameter(1, 1.0f);
    host.effect().setParameter(2, 1.0f);
    host.idle();
    const Pixels programOne = host.pixels();
    host.effect().dispatch(effSetProgram, 0, 0);
    host.idle();
    const Pixels programZero = host.pixels();
    EXPECT_NE(region(programZero, gui::CRect(22, 230, 66, 531)), region(programOne, gui::CRect(22, 230, 66, 531)));
    EXPECT_NE(region(programZero, gui::CRect(129, 230, 173, 531)), region(programOne, gui::CRect(129, 230, 173, 531)));
    EXPECT_NE(region(programZero, gui::CRect(215, 330, 270, 385)), region(programOne, gui::CRect(215, 330, 270, 385)));
    host.effect().dispatch(effSetProgram, 0, 1);
    host.idle();
    EXPECT_EQ(host.pixels(), programOne);
}

TEST_F(OpenEditor, WhatIdleRedrawsIsWhatAFullPaintShows) {
    host.drag({at(44, 420), at(44, 300), at(44, 250), at(44, 250), at(44, 250, false)});
    host.effect().setParameter(1, 0.1f);
    host.effect().setParameter(2, 0.7f);
    host.idle();
    const Pixels updated = host.pixels();
    host.repaint();
    EXPECT_EQ(host.pixels(), updated);
}

TEST_F(OpenEditor, KeysTheHostForwardsReachAnOpenEditBox) {
    EXPECT_EQ(host.effect().dispatch(effEditKeyDown, '5'), 0) << "no box open";
    host.click(44, 513);
    auto key = [&](int character, int virt = 0) { return host.effect().dispatch(effEditKeyDown, character, virt); };
    for (char c : std::string("1234")) {
        EXPECT_EQ(key(c), 1);
    }
    EXPECT_EQ(key(0, 1), 1);   // Backspace: "123"
    EXPECT_EQ(key(0, 10), 1);  // Home
    EXPECT_EQ(key(0, 22), 1);  // Delete: "23"
    EXPECT_EQ(key(0, 9), 1);   // End
    EXPECT_EQ(key('0'), 1);    // "230"
    EXPECT_EQ(key(0, 11), 1);  // Left
    EXPECT_EQ(key(0, 13), 1);  // Right
    host.effect().clearCalls();
    EXPECT_EQ(key(0, 19), 1);  // Enter on the keypad
    EXPECT_FLOAT_EQ(host.effect().getParameter(0), 0.039253302f);
    EXPECT_EQ(bracket().automated.size(), 1u);
    EXPECT_EQ(key(0, 4), 0) << "the box has closed: Return is no slider's key either";
}

}  // namespace
}  // namespace editortest
