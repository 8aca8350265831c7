// The editor as people touch it: a click whose press and release both arrive before the editor handles
// either (a quick click, a touchpad's tap, a host that idles the editor 15 times a second) acts as a
// held click does; the mode knob always shows the mode that plays; Escape cancels a value display.
#include <gtest/gtest.h>

#include "tests/editor/open_editor.h"
#include "tests/editor/panel_reading.h"

namespace editortest {
namespace {

struct Touch : OpenEditor {};

TEST_F(Touch, AQuickClickOpensAValueDisplay) {
    host.quickClick(44, 513);
    ASSERT_NE(host.focusWindow(), host.frameWindow()) << "the edit box has the keys";
    host.typeText("1000");
    host.pressKey(VK_RETURN);
    const Bracketed seen = takeBracket();
    ASSERT_EQ(seen.automated.size(), 1u);
    EXPECT_EQ(seen.events, (std::vector<std::string>{"begin 0", "end 0", "begin 0", "automate 0", "end 0"}));
    EXPECT_FLOAT_EQ(seen.automated[0], 0.158797025680542f);
}

TEST_F(Touch, QuickClicksTurnTheKnobToEachBand) {
    host.effect().setParameter(2, 1.0f);
    host.idle();
    host.effect().clearCalls();
    const float bands[] = {0.0f, 1.0f / 3.0f, 2.0f / 3.0f, 1.0f};
    const int rows[] = {335, 350, 364, 378};
    for (int band = 0; band < 4; ++band) {
        host.quickClick(242, rows[band]);
        const Bracketed seen = takeBracket();
        EXPECT_EQ(seen.events, (std::vector<std::string>{"begin 2", "automate 2", "end 2"})) << "band " << band;
        EXPECT_EQ(seen.automated, (std::vector<float>{bands[band]})) << "band " << band;
    }
}

TEST_F(Touch, AQuickClickOnTheTrackMovesTheHandleThere) {
    host.quickClick(44, 400);
    const Bracketed seen = takeBracket();
    EXPECT_EQ(seen.events, (std::vector<std::string>{"begin 0", "automate 0", "end 0"}));
    ASSERT_EQ(seen.automated.size(), 1u);
    EXPECT_FLOAT_EQ(seen.automated[0], 1.0f - 145.0f / 209.0f);
}

TEST_F(Touch, AQuickControlClickResetsASlider) {
    host.quickClick(44, 400, true);
    const Bracketed seen = takeBracket();
    EXPECT_EQ(seen.events, (std::vector<std::string>{"begin 0", "automate 0", "end 0"}));
    EXPECT_EQ(seen.automated, (std::vector<float>{0.5f}));
}

// The filter takes the mode by quarters of its value; the knob must show what plays.
TEST_F(Touch, TheKnobShowsTheModeThatPlays) {
    const float positions[] = {0.0f, 1.0f / 3.0f, 2.0f / 3.0f, 1.0f};
    std::vector<std::vector<std::uint32_t>> pictures;
    for (float position : positions) {
        host.effect().setParameter(2, position);
        host.idle();
        pictures.push_back(host.pixels());
    }
    const std::pair<float, int> plays[] = {{0.2f, 0},  {0.24f, 0}, {0.25f, 1}, {0.5f, 2},
                                           {0.74f, 2}, {0.75f, 3}, {0.8f, 3},  {1.0f, 3}};
    for (const auto& [value, mode] : plays) {
        host.effect().setParameter(2, value);
        host.idle();
        EXPECT_TRUE(host.pixels() == pictures[static_cast<std::size_t>(mode)]) << "mode value " << value;
    }
}

TEST_F(Touch, EscapeCancelsAnOpenValueDisplay) {
    const std::vector<std::uint32_t> before = region(host.pixels(), kLowerDisplay);
    const float value = host.effect().getParameter(0);
    for (bool forwarded : {false, true}) {
        host.click(44, 513);
        ASSERT_NE(host.focusWindow(), host.frameWindow()) << "the edit box has the keys";
        host.typeText("700");
        if (forwarded) {
            EXPECT_EQ(host.effect().dispatch(effEditKeyDown, 0, 6), 1);  // the host's Escape
        } else {
            host.pressKey(VK_ESCAPE);
        }
        host.idle();
        EXPECT_EQ(host.focusWindow(), host.frameWindow()) << (forwarded ? "forwarded" : "typed");
        const Bracketed seen = takeBracket();
        EXPECT_EQ(seen.events, (std::vector<std::string>{"begin 0", "end 0"})) << (forwarded ? "forwarded" : "typed");
        EXPECT_EQ(host.effect().getParameter(0), value);
        EXPECT_EQ(region(host.pixels(), kLowerDisplay), before) << (forwarded ? "forwarded" : "typed");
    }
}

}  // namespace
}  // namespace editortest
