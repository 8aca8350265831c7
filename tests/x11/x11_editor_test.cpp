// The editor inside a Linux host's X11 window: what the server shows, real input through the server,
// and the hosts' ways of opening, idling and closing.
// GoogleTest first: the X headers define None, Bool and Status as macros.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "editor/aeff_editor.h"
#include "tests/conformance/support.h"
#include "tests/x11/x11_host.h"

namespace x11test {
namespace {

#define SKIP_WITHOUT_DISPLAY()    \
    if (hostDisplay() == nullptr) \
    GTEST_SKIP() << "no X display (the test scripts start Xvfb)"

TEST(X11Pixels, TheWindowShowsTheSurfaceAfterPaintingChangingAndUncovering) {
    SKIP_WITHOUT_DISPLAY();
    X11Host host(ZELMOR_TESTING_PLUGIN);
    ASSERT_EQ(host.open(), 1);
    ASSERT_NE(host.editorWindow(), 0u);
    ASSERT_TRUE(showsTheSurface(host)) << "after the first paint";
    const auto first = host.shownPixels();
    conformance::savePng(conformance::picturePath("x11-editor-linux.png"), first, kWidth, kHeight);

    host.effect().setParameter(0, 0.9f);
    host.idle();
    ASSERT_TRUE(showsTheSurface(host)) << "after a host change";
    EXPECT_NE(host.shownPixels(), first);

    // Another window over the editor, then gone: the server asks for the covered part again.
    Display* display = hostDisplay();
    const ::Window cover = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 300, 300, 0, 0, 0xFF00FF);
    XMapRaised(display, cover);
    XSync(display, False);
    XDestroyWindow(display, cover);
    XSync(display, False);
    EXPECT_TRUE(showsTheSurface(host)) << "after being covered and uncovered";
}

TEST(X11Pixels, AHostWithoutADisplayPointerGetsTheSameEditor) {
    SKIP_WITHOUT_DISPLAY();
    X11Host host(ZELMOR_TESTING_PLUGIN);
    ASSERT_EQ(host.open(false), 1);
    EXPECT_TRUE(showsTheSurface(host));
}

// Real input at the host's idle rate: the X server's events and the live pointer.
class X11Input : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        if (hostDisplay() == nullptr) {
            GTEST_SKIP() << "no X display (the test scripts start Xvfb)";
        }
        host = std::make_unique<X11Host>(ZELMOR_PLUGIN, GetParam());
        ASSERT_EQ(host->open(), 1);
        host->clearEdits();
    }
    void TearDown() override { host.reset(); }

    // "begin 0", "automate 0" and "end 0", with the automated values.
    std::vector<std::string> bracket(std::vector<float>* values = nullptr) const {
        std::vector<std::string> seen;
        for (const auto& edit : host->edits()) {
            const std::string index = std::to_string(edit.index);
            if (edit.opcode == audioMasterBeginEdit) {
                seen.push_back("begin " + index);
            } else if (edit.opcode == audioMasterEndEdit) {
                seen.push_back("end " + index);
            } else {
                seen.push_back("automate " + index);
                if (values != nullptr) {
                    values->push_back(edit.value);
                }
            }
        }
        return seen;
    }

    // Types text and Return into the display whose edit box has the keys, and idles until the host
    // has seen at least leastEdits bracket and automation calls, the last an end of edit.
    bool typeIntoOpenDisplay(const std::string& text, std::size_t leastEdits) {
        host->typeText(text);
        host->key(XK_Return, true);
        host->key(XK_Return, false);
        return host->idleUntil(
            [&] {
                return !host->edits().empty() && host->edits().back().opcode == audioMasterEndEdit &&
                       host->edits().size() >= leastEdits;
            },
            50);
    }

    std::unique_ptr<X11Host> host;
};

TEST_P(X11Input, DraggingEachSliderAutomatesItsParameterInsideOneBracket) {
    for (const auto& [x, index] : {std::pair{44, 0}, std::pair{151, 1}}) {
        host->clearEdits();
        host->drag({{x, 420}, {x, 400}, {x, 380}, {x, 360}, {x, 360}});
        std::vector<float> values;
        const auto seen = bracket(&values);
        ASSERT_GE(values.size(), 2u) << index;
        EXPECT_EQ(seen.front(), "begin " + std::to_string(index));
        EXPECT_EQ(seen.back(), "end " + std::to_string(index));
        for (std::size_t i = 1; i < values.size(); ++i) {
            EXPECT_GE(values[i], values[i - 1]) << "moving up raises the cut-off";
        }
        // A free click puts the handle's middle under the pointer: 360 is 105 pixels above 255 + 209.
        EXPECT_FLOAT_EQ(values.back(), 1.0f - (360.0f - 255.0f) / 209.0f);
        EXPECT_EQ(host->effect().getParameter(index), values.back());
    }
}

TEST_P(X11Input, ShiftDragMovesFinerThanAPlainDrag) {
    host->effect().setParameter(0, 0.5f);
    host->idle();
    host->setModifier(XK_Shift_L, true);
    host->drag({{44, 360}, {44, 340}, {44, 320}, {44, 320}});
    host->setModifier(XK_Shift_L, false);
    const float fine = host->effect().getParameter(0) - 0.5f;
    EXPECT_GT(fine, 0.0f);
    EXPECT_LT(fine, 40.0f / 209.0f) << "forty pixels of fine movement";
}

TEST_P(X11Input, ControlClickResetsASliderAndTheWheelStepsIt) {
    host->effect().setParameter(1, 0.9f);
    host->idle();
    host->setModifier(XK_Control_L, true);
    host->drag({{151, 400}, {151, 400}});
    host->setModifier(XK_Control_L, false);
    EXPECT_EQ(host->effect().getParameter(1), 0.5f);

    host->effect().setParameter(0, 0.5f);
    host->idle();
    host->click(44, 300, Button4);
    EXPECT_FLOAT_EQ(host->effect().getParameter(0), 0.6f) << "a notch away from the user";
    host->click(44, 300, Button5);
    EXPECT_FLOAT_EQ(host->effect().getParameter(0), 0.5f);
}

TEST_P(X11Input, ClickingTheModeSwitchChoosesEachMode) {
    host->effect().setParameter(2, 1.0f);
    host->idle();
    host->clearEdits();
    for (int y : {335, 350, 364, 378}) {
        host->click(242, y);
    }
    std::vector<float> values;
    bracket(&values);
    EXPECT_EQ(values, (std::vector<float>{0.0f, 1.0f / 3.0f, 2.0f / 3.0f, 1.0f}));
    EXPECT_EQ(host->effect().getParameter(2), 1.0f);
}

TEST_P(X11Input, TypingAFrequencyIntoADisplayAutomatesIt) {
    host->click(44, 513);
    // The edit box takes the X input focus at the idle after it opened.
    host->idle();
    ASSERT_TRUE(typeIntoOpenDisplay("1000", 3));
    std::vector<float> values;
    bracket(&values);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_FLOAT_EQ(values[0], 0.158797025680542f);
    EXPECT_EQ(host->effect().getParameter(0), values[0]);
    // The keys go back to the host's window once the box has closed.
    host->idle();
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(hostDisplay(), &focus, &revert);
    EXPECT_NE(focus, host->editorWindow());
}

// Press and release reach the editor's connection together, before the host's next idle.
TEST_P(X11Input, QuickClicksActAsHeldOnes) {
    host->quickClick(44, 513);
    host->idle();
    ASSERT_TRUE(typeIntoOpenDisplay("1000", 4));
    std::vector<float> values;
    bracket(&values);
    EXPECT_EQ(values, (std::vector<float>{0.158797025680542f})) << "the display opened and took the typed value";

    host->effect().setParameter(2, 1.0f);
    host->idle();
    host->clearEdits();
    for (int y : {335, 350, 364, 378}) {
        host->quickClick(242, y);
    }
    values.clear();
    bracket(&values);
    EXPECT_EQ(values, (std::vector<float>{0.0f, 1.0f / 3.0f, 2.0f / 3.0f, 1.0f}));

    host->clearEdits();
    host->quickClick(151, 400);
    values.clear();
    EXPECT_EQ(bracket(&values), (std::vector<std::string>{"begin 1", "automate 1", "end 1"}));
    EXPECT_EQ(values, (std::vector<float>{1.0f - 145.0f / 209.0f}));
}

INSTANTIATE_TEST_SUITE_P(IdleRates, X11Input, ::testing::Values(15, 60),
                         [](const ::testing::TestParamInfo<int>& rate) { return std::to_string(rate.param) + "Hz"; });

TEST(X11Hosts, AnIdleFromInsideTheEditorsOwnHostIdleDoesNothing) {
    SKIP_WITHOUT_DISPLAY();
    X11Host host;
    ASSERT_EQ(host.open(), 1);
    host.clearEdits();
    int nested = 0;
    host.onHostIdle = [&] {
        ++nested;
        host.effect().dispatch(effEditIdle);
    };
    host.drag({{44, 420}, {44, 380}, {44, 380}});
    EXPECT_GT(nested, 0);
    int begins = 0;
    int ends = 0;
    for (const auto& edit : host.edits()) {
        begins += edit.opcode == audioMasterBeginEdit;
        ends += edit.opcode == audioMasterEndEdit;
    }
    EXPECT_EQ(begins, 1) << "no gesture was started inside the gesture";
    EXPECT_EQ(ends, 1);
}

TEST(X11Hosts, NoDisplayMeansNoEditorButTheEffectGoesOn) {
    SKIP_WITHOUT_DISPLAY();
    X11Host host;
    const std::string display = std::getenv("DISPLAY");
    unsetenv("DISPLAY");
    const std::intptr_t opened = host.open();
    setenv("DISPLAY", display.c_str(), 1);
    EXPECT_EQ(opened, 0);
    ERect* rect = nullptr;
    ASSERT_EQ(host.effect().dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right - rect->left, kWidth);
    EXPECT_EQ(rect->bottom - rect->top, kHeight);
    std::vector<float> left(64, 0.5f);
    std::vector<float> right(64, 0.5f);
    float* channels[] = {left.data(), right.data()};
    host.effect().resume();
    host.effect().processReplacing(channels, channels, 64);
    EXPECT_TRUE(std::isfinite(left[63]));
    EXPECT_EQ(host.editorWindow(), 0u);
}

}  // namespace
}  // namespace x11test
