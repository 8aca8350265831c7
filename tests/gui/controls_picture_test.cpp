// The editor's controls at the editor's places over the panel, painted into a real window on each
// target and saved as a picture; the agreement case compares the Linux and Windows pictures.
#include <gtest/gtest.h>

#include "tests/conformance/picture_compare.h"
#include "tests/conformance/support.h"
#include "tests/gui/toolkit_harness.h"

namespace guitest {
namespace {

constexpr int kWidth = 396;
constexpr int kHeight = 550;

// Inside the displays' outlines; the wider texts touch the outlines with their anti-aliased rims.
std::vector<RECT> textAreas() {
    return {{21, 497, 67, 530}, {128, 497, 174, 530}};
}

std::vector<std::uint32_t> drawControls() {
    FrameInHost frame;
    EditorControls controls(frame.frame, &frame.listener, 0.25f, 0.75f, 2.0f / 3.0f);
    frame.frame->idle();
    frame.paint();
    return frame.pixels();
}

TEST(ControlsPicture, TheControlsDrawOverThePanelAtTheEditorsPlaces) {
    const std::vector<std::uint32_t> pixels = drawControls();
    conformance::savePng(conformance::picturePath(std::string("controls-") + ZELMOR_PLATFORM_NAME + ".png"), pixels,
                         kWidth, kHeight);
    auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y * kWidth + x)]; };
    EXPECT_EQ(at(200, 300), 0xCBCDD0u) << "the panel's field";
    EXPECT_EQ(at(20, 496), 0x2D2D2Du) << "the lower display's outline";
    EXPECT_EQ(at(22, 498), 0x5A5A5Au) << "its fill";
    EXPECT_EQ(at(127, 530), 0x2D2D2Du) << "the upper display's outline";
    // 0.25 puts the lower cap's top at 1 + 0.75 x 209 = 157 in the slider, 0.75 the upper's at 53.
    EXPECT_NE(at(44, 230 + 157 + 25), at(44, 230 + 100)) << "the lower cap";
    EXPECT_NE(at(151, 230 + 53 + 25), at(151, 230 + 150)) << "the upper cap";
    EXPECT_EQ(at(44, 240), at(151, 240)) << "the bare tracks look alike";
    EXPECT_EQ(at(216, 331), at(214, 331)) << "the knob's transparent corner shows the panel";
}

TEST(ControlsPicture, LinuxAndWindowsPicturesAgree) {
    conformance::expectAgreesWithOtherTarget(kWidth, kHeight, textAreas(), drawControls, 1);
}

}  // namespace
}  // namespace guitest
