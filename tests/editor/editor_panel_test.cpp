// The panel as hosts see it: the editor opened through the record inside a parent window, read back
// pixel by pixel; the picture is saved for the comparison between the targets and for the README.
#include <gtest/gtest.h>

#include "tests/conformance/picture_compare.h"
#include "tests/conformance/support.h"
#include "tests/editor/editor_host.h"
#include "tests/editor/panel_reading.h"

namespace editortest {
namespace {

const gui::CRect kLowerDisplay(20, 496, 68, 531);
const gui::CRect kUpperDisplay(127, 496, 175, 531);
const gui::CRect kModeSwitch(215, 330, 270, 385);

struct Label {
    const char* text;
    gui::CRect rect;  // in the editor's coordinates
    bool bold;
};
const Label kLabels[] = {
    {"Freq 1", gui::CRect(17, 200, 77, 220), true},        {"Freq 2", gui::CRect(123, 200, 183, 220), true},
    {"Filter Type", gui::CRect(240, 255, 320, 275), true}, {"Low Pass", gui::CRect(310, 295, 390, 315), false},
    {"High Pass", gui::CRect(310, 330, 390, 350), false},  {"Band Pass", gui::CRect(310, 365, 390, 385), false},
    {"Band Stop", gui::CRect(310, 400, 390, 420), false},
};

// Text is compared by its ink between the targets: the labels and the insides of the displays.
std::vector<RECT> textAreas() {
    std::vector<RECT> areas{{21, 497, 67, 530}, {128, 497, 174, 530}};
    for (const Label& label : kLabels) {
        areas.push_back(RECT{label.rect.left, label.rect.top, label.rect.right, label.rect.bottom});
    }
    return areas;
}

Pixels panelAt(EditorHost& host, float lower, float upper, float mode) {
    host.effect().setParameter(0, lower);
    host.effect().setParameter(1, upper);
    host.effect().setParameter(2, mode);
    host.idle();
    return host.pixels();
}

// The editor at the default program, as a host first shows it.
Pixels defaultPanel() {
    EditorHost host;
    EXPECT_EQ(host.open(), 1);
    host.idle();
    return host.pixels();
}

TEST(EditorPanel, OpensAsAChildOfTheHostsWindowWithTheLibrarysClass) {
    EditorHost host;
    ERect* rect = nullptr;
    ASSERT_EQ(host.effect().dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->bottom, 550);
    EXPECT_EQ(rect->right, 396);
    ASSERT_EQ(host.frameWindow(), nullptr);
    ASSERT_EQ(host.open(), 1);
    HWND window = host.frameWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(host.parentOf(window), static_cast<HWND>(host.parent()));
    const std::string name = host.className(window);
    EXPECT_EQ(name.rfind("Plugin", 0), 0u) << name;
    EXPECT_GT(name.size(), 6u) << "the class carries the library's module handle";
    host.close();
    EXPECT_EQ(host.frameWindow(), nullptr) << "closing destroys the window";
}

TEST(EditorPanel, HandlesStandWhereTheParametersPutThem) {
    EditorHost host;
    ASSERT_EQ(host.open(), 1);
    const Pixels top = panelAt(host, 1.0f, 1.0f, 0.0f);
    const Pixels bottom = panelAt(host, 0.0f, 0.0f, 0.0f);
    const Pixels middle = panelAt(host, 0.5f, 0.5f, 0.0f);
    for (int left : {25, 132}) {
        EXPECT_EQ(handleTop(bottom, top, 231, left), 440) << left;
        EXPECT_EQ(handleTop(middle, top, 231, left), 335) << left;
        EXPECT_EQ(handleTop(top, bottom, 440, left), 231) << left;
    }
    // Both displays show their parameter in whole hertz.
    EXPECT_EQ(region(bottom, kLowerDisplay), displayShowing("20 Hz"));
    EXPECT_EQ(region(top, kUpperDisplay), displayShowing("20000 Hz"));
    EXPECT_EQ(region(middle, kLowerDisplay), displayShowing("4820 Hz"));
}

// A project restored with a chunk alone shows its values at once, as a program change would.
TEST(EditorPanel, ARestoredChunkShowsAtOnce) {
    EditorHost host;
    ASSERT_EQ(host.open(), 1);
    const Pixels expected = panelAt(host, 0.0f, 1.0f, 0.5f);
    panelAt(host, 0.5f, 0.5f, 0.0f);
    const float record[9] = {0.5f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    ASSERT_EQ(host.effect().dispatch(effSetChunk, 1, 36, const_cast<float*>(record)), 36);
    host.idle();
    const Pixels restored = host.pixels();
    EXPECT_EQ(region(restored, kLowerDisplay), displayShowing("20 Hz"));
    EXPECT_EQ(region(restored, kUpperDisplay), displayShowing("20000 Hz"));
    EXPECT_EQ(restored, expected);
}

TEST(EditorPanel, TheSwitchShowsOneFramePerMode) {
    EditorHost host;
    ASSERT_EQ(host.open(), 1);
    std::vector<Pixels> frames;
    for (float mode : {0.0f, 1.0f / 3.0f, 2.0f / 3.0f, 1.0f}) {
        frames.push_back(region(panelAt(host, 0.5f, 0.5f, mode), kModeSwitch));
    }
    for (std::size_t a = 0; a < frames.size(); ++a) {
        for (std::size_t b = a + 1; b < frames.size(); ++b) {
            EXPECT_NE(frames[a], frames[b]) << "positions " << a << " and " << b;
        }
    }
    // The knob shows the mode that plays: 0.5 plays band pass, 0.2 low pass.
    EXPECT_EQ(region(panelAt(host, 0.5f, 0.5f, 0.5f), kModeSwitch), frames[2]);
    EXPECT_EQ(region(panelAt(host, 0.5f, 0.5f, 0.2f), kModeSwitch), frames[0]);
}

TEST(EditorPanel, MarkingsStandAtTheirPlacesWithTheirFaces) {
    const Pixels panel = defaultPanel();
    for (const Label& label : kLabels) {
        const std::uint32_t fill = panel[static_cast<std::size_t>(label.rect.top * kWidth + label.rect.left)];
        const gui::CRect ink = inkIn(panel, label.rect);
        EXPECT_EQ(ink, labelInk(label.text, label.rect, label.bold, fill)) << label.text;
        EXPECT_NE(ink, labelInk(label.text, label.rect, !label.bold, fill)) << label.text << ": the other face";
    }
    // Each leader line: its first segment's middle, above the switch, and along its second segment.
    const std::uint32_t line = 0x2D2D2Du;
    const POINT onLines[] = {{258, 320}, {280, 305}, {309, 305}, {280, 340}, {309, 340},
                             {280, 375}, {309, 375}, {280, 410}, {309, 410}};
    for (const POINT& point : onLines) {
        EXPECT_EQ(panel[static_cast<std::size_t>(point.y * kWidth + point.x)], line) << point.x << "," << point.y;
    }
    // A line ends one pixel short of its last point, at the name's left edge.
    EXPECT_NE(panel[static_cast<std::size_t>(305 * kWidth + 310)], line);
}

TEST(EditorPanel, AtTheDefaultProgramIsSavedAndIsTheReadmesPicture) {
    const Pixels panel = defaultPanel();
    conformance::savePng(conformance::picturePath(std::string("editor-") + ZELMOR_PLATFORM_NAME + ".png"), panel,
                         kWidth, kHeight);
    int width = 0;
    int height = 0;
    const Pixels readme = conformance::loadPng(ZELMOR_EDITOR_PICTURE, width, height);
    ASSERT_EQ(width, kWidth);
    ASSERT_EQ(height, kHeight);
    // Drawn on Linux; Windows draws the same panel with its own text rasteriser.
    conformance::expectPicturesAgree(panel, readme, kWidth, kHeight, textAreas(), 1);
}

TEST(EditorPanel, LinuxAndWindowsPicturesAgree) {
    conformance::expectAgreesWithOtherTarget(kWidth, kHeight, textAreas(), defaultPanel, 1);
}

}  // namespace
}  // namespace editortest
