// The value display and the text edit: what they draw, and the native edit box that a click opens over
// the display, driven with real clicks and keys.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "gui/draw_context.h"
#include "tests/conformance/support.h"
#include "tests/gui/toolkit_harness.h"

namespace guitest {
namespace {

const gui::CRect kLowerDisplay(20, 496, 68, 531);
const POINT kInsideLowerDisplay = FrameInHost::screen(44, 513);

std::string boxText(HWND box) {
    char text[300] = "";
    GetWindowTextA(box, text, sizeof text);
    return text;
}

std::string displayText(gui::CTextEdit* edit) {
    char text[gui::kTextBufferSize] = "";
    edit->getText(text);
    return text;
}

class TextEdit : public testing::Test {
protected:
    void SetUp() override {
        frame.frame->idle();
        frame.paint();
        frame.log.clear();
    }
    // Opens the lower display's edit box with a click.
    HWND open() {
        frame.input.click(kInsideLowerDisplay);
        return controls.lowerDisplay->getEditBox();
    }

    FrameInHost frame;
    EditorControls controls{frame.frame, &frame.listener, 0.25f, 0.75f, 0.0f};
};

TEST_F(TextEdit, AClickOpensABoxExactlyOverTheDisplayWithAllItsTextSelected) {
    const std::string shown = displayText(controls.lowerDisplay);
    EXPECT_EQ(shown.substr(shown.size() - 3), " Hz") << "the conversion wrote the text: " << shown;
    HWND box = open();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(frame.log, "begin 3; ");
    EXPECT_EQ(frame.frame->getFocusView(), controls.lowerDisplay);
    EXPECT_EQ(GetParent(box), frame.frame->getNativeWindow());
    RECT rect{};
    GetWindowRect(box, &rect);
    const POINT topLeft = FrameInHost::screen(kLowerDisplay.left, kLowerDisplay.top);
    EXPECT_EQ(rect.left, topLeft.x);
    EXPECT_EQ(rect.top, topLeft.y);
    EXPECT_EQ(rect.right - rect.left, kLowerDisplay.width());
    EXPECT_EQ(rect.bottom - rect.top, kLowerDisplay.height());
    EXPECT_EQ(boxText(box), shown);
    DWORD start = 99;
    DWORD end = 99;
    SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, shown.size());
    EXPECT_NE(SendMessageA(box, WM_GETFONT, 0, 0), 0) << "the display's font";
    EXPECT_EQ(GetFocus(), box);
    EXPECT_EQ(SendMessageA(box, WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS) << "Tab, Return and the arrows stay in it";

    // The frame colours the box as the display: its fill behind the text.
    frame.paint();
    EXPECT_EQ(frame.pixel(kLowerDisplay.left + 1, kLowerDisplay.bottom - 2), 0x5A5A5Au);
}

TEST_F(TextEdit, TypedTextAndReturnAreReportedOnceAfterTheGestureEnds) {
    HWND box = open();
    ASSERT_NE(box, nullptr);
    frame.input.typeText("1000");
    EXPECT_EQ(boxText(box), "1000") << "typing replaced the selection";
    frame.input.pressKey(VK_RETURN);
    EXPECT_EQ(controls.lowerDisplay->getEditBox(), nullptr);
    char name[8];
    EXPECT_EQ(GetClassNameA(box, name, sizeof name), 0) << "the box destroyed itself from its own Return";
    EXPECT_EQ(frame.log, "begin 3; end 3; value 3=0.25 \"1000\"; ");
    EXPECT_EQ(frame.frame->getFocusView(), nullptr);
}

TEST_F(TextEdit, ReturnWithTheTextUnchangedEndsTheGestureAndReportsNothing) {
    ASSERT_NE(open(), nullptr);
    frame.input.pressKey(VK_RETURN);
    EXPECT_EQ(frame.log, "begin 3; end 3; ");
    EXPECT_EQ(frame.listener.reports, 0);
}

TEST_F(TextEdit, LosingTheKeyboardFocusClosesTheBox) {
    HWND box = open();
    ASSERT_NE(box, nullptr);
    frame.input.typeText("12");
    SetFocus(frame.host);
    conformance::pumpMessages();
    EXPECT_EQ(controls.lowerDisplay->getEditBox(), nullptr);
    char name[8];
    EXPECT_EQ(GetClassNameA(box, name, sizeof name), 0) << "destroyed while it heard of the loss";
    EXPECT_EQ(frame.log, "begin 3; end 3; value 3=0.25 \"12\"; ");
}

TEST_F(TextEdit, AtMost254TypedCharactersAreTaken) {
    ASSERT_NE(open(), nullptr);
    frame.input.typeText(std::string(300, '7'));
    EXPECT_EQ(boxText(controls.lowerDisplay->getEditBox()).size(), 255u) << "the box's limit";
    frame.input.pressKey(VK_RETURN);
    EXPECT_EQ(frame.log, "begin 3; end 3; value 3=0.25 \"" + std::string(254, '7') + "\"; ");
}

TEST_F(TextEdit, APressOnTheDisplayWhileItEditsClosesTheBoxAndThenOpensANewOne) {
    HWND first = open();
    ASSERT_NE(first, nullptr);
    frame.input.typeText("440");
    gui::CDrawContext context(frame.frame, nullptr, frame.frame->getNativeWindow());
    gui::CPoint where(44, 513);
    frame.frame->mouse(&context, where, gui::kLButton);
    EXPECT_EQ(frame.log, "begin 3; end 3; value 3=0.25 \"440\"; begin 3; ");
    HWND second = controls.lowerDisplay->getEditBox();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(boxText(second), displayText(controls.lowerDisplay)) << "the display's text once more";
    frame.input.pressKey(VK_RETURN);
    EXPECT_EQ(frame.log, "begin 3; end 3; value 3=0.25 \"440\"; begin 3; end 3; ");
}

TEST_F(TextEdit, TheDoubleClickStyleWantsTwoClicksInQuickSuccession) {
    // The control reads the double-click time when it is made.
    frame.input.lengthenDoubleClicks(10000);
    auto* edit =
        new gui::CTextEdit(gui::CRect(250, 40, 330, 75), &frame.listener, 8, "x", nullptr, 1 | gui::kDoubleClickStyle);
    frame.frame->addView(edit);
    frame.paint();
    const POINT inside = FrameInHost::screen(290, 57);
    frame.input.click(inside);
    EXPECT_EQ(edit->getEditBox(), nullptr) << "one click is not enough";
    frame.input.click(inside);
    ASSERT_NE(edit->getEditBox(), nullptr);
    frame.input.pressKey(VK_RETURN);
    // Where time is virtual: clicks further apart than the double-click time are two first clicks.
    frame.input.click(inside);
    if (frame.input.advanceTime(GetDoubleClickTime() + 1)) {
        frame.input.click(inside);
        EXPECT_EQ(edit->getEditBox(), nullptr) << "too slow";
        frame.input.click(inside);
        EXPECT_NE(edit->getEditBox(), nullptr);
    }
}

TEST_F(TextEdit, SetTextKeepsAtMost255Characters) {
    auto* edit = new gui::CTextEdit(gui::CRect(0, 0, 40, 20), nullptr, 9, std::string(400, 'x').c_str());
    EXPECT_EQ(displayText(edit), std::string(255, 'x'));
    edit->setDirty(false);
    edit->setText(std::string(300, 'x').c_str());
    EXPECT_FALSE(edit->isDirty()) << "the same 255 characters";
    edit->setText(std::string(300, 'y').c_str());
    EXPECT_EQ(displayText(edit), std::string(255, 'y'));
    EXPECT_TRUE(edit->isDirty());
    edit->setDirty(false);
    edit->setText(nullptr);
    EXPECT_EQ(displayText(edit), "");
    EXPECT_TRUE(edit->isDirty());
    edit->setDirty(false);
    edit->setText(nullptr);
    EXPECT_FALSE(edit->isDirty());
    edit->forget();
}

// Draws a display of a value beside one that shows a given text, to compare what they show.
std::vector<std::uint32_t> displayPixels(FrameInHost& frame, gui::CParamDisplay* display) {
    display->setFont(gui::kNormalFontSmall);
    display->setBackColor(gui::CColor{90, 90, 90, 255});
    display->setFrameColor(gui::CColor{45, 45, 45, 255});
    frame.frame->addView(display);
    frame.frame->idle();
    frame.paint();
    std::vector<std::uint32_t> pixels = frame.pixels();
    std::vector<std::uint32_t> part;
    for (int y = 40; y < 75; ++y) {
        for (int x = 250; x < 330; ++x) {
            part.push_back(pixels[static_cast<std::size_t>(y * 396 + x)]);
        }
    }
    frame.frame->removeView(display, true);
    return part;
}

TEST_F(TextEdit, ADisplayWithoutAConversionShowsTwoDecimalsAndANumberForAnyValue) {
    const gui::CRect rect(250, 40, 330, 75);
    auto shows = [&](const char* text) {
        auto* edit = new gui::CTextEdit(rect, nullptr, 9, text, nullptr, 1);
        return displayPixels(frame, edit);
    };
    auto showsValue = [&](float value) {
        auto* display = new gui::CParamDisplay(rect, nullptr, 1);
        display->setValue(value);
        return displayPixels(frame, display);
    };
    const std::vector<std::uint32_t> half = shows("0.50");
    EXPECT_EQ(half[0], 0x2D2D2Du) << "the outline";
    EXPECT_EQ(half[81], 0x5A5A5Au) << "the fill";
    EXPECT_NE(half, shows("")) << "the text is there";
    EXPECT_EQ(showsValue(0.5f), half);
    EXPECT_EQ(showsValue(std::nanf("")), shows("0.00"));
    EXPECT_EQ(showsValue(-0.004f), shows("-0.00"));
    EXPECT_EQ(showsValue(12.345f), shows("12.35"));
}

}  // namespace
}  // namespace guitest
