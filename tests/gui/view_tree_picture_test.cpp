// One view tree drawn on both targets: the panel, slider images, a strip frame, an offscreen container
// with lines and rectangles, and text in the standard fonts. Each run saves it as PNG; the agreement
// case compares the Linux and Windows pictures.
#include <gtest/gtest.h>

#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/frame.h"
#include "tests/conformance/picture_compare.h"
#include "tests/conformance/support.h"

namespace guitest {
namespace {

using gui::CColor;
using gui::CDrawContext;
using gui::CPoint;
using gui::CRect;

constexpr int kWidth = 396;
constexpr int kHeight = 550;

struct Caption {
    const char* text;
    std::int32_t font;
    std::int32_t style;
    CRect rect;
    std::int32_t alignment;
    CColor colour;
    int inset = 0;  // keeps an outline out of the compared area
};

// Each on plain ground: the grey field or a display's fill.
const Caption kCaptions[] = {
    {"Freq 1", gui::kNormalFontBig, gui::kBoldFace, CRect(17, 200, 77, 220), gui::kCenterText, gui::kBlackCColor},
    {"Filter Type", gui::kNormalFontBig, gui::kBoldFace, CRect(240, 255, 320, 275), gui::kCenterText,
     gui::kBlackCColor},
    {"Band Pass", gui::kNormalFontBig, 0, CRect(300, 300, 390, 320), gui::kLeftText, gui::kBlackCColor},
    {"Zelmor 1.0", gui::kNormalFontVeryBig, 0, CRect(190, 395, 390, 425), gui::kRightText, gui::kRedCColor},
    {"tiny", gui::kNormalFontVerySmall, gui::kItalicFace, CRect(200, 230, 260, 245), gui::kLeftText, gui::kBlackCColor},
    {"440 Hz", gui::kNormalFontSmall, 0, CRect(20, 496, 68, 531), gui::kCenterText, gui::kWhiteCColor, 1},
};

std::vector<RECT> textAreas() {
    std::vector<RECT> areas;
    for (const Caption& caption : kCaptions) {
        areas.push_back({caption.rect.left + caption.inset, caption.rect.top + caption.inset,
                         caption.rect.right - caption.inset, caption.rect.bottom - caption.inset});
    }
    return areas;
}

// Draws the captions and a value display over everything else, as the editor's markings do.
class CaptionsView : public gui::CView {
public:
    CaptionsView() : CView(CRect(0, 0, kWidth, kHeight)) { setMouseEnabled(false); }
    void draw(CDrawContext* context) override {
        context->setFillColor(CColor{90, 90, 90, 255});
        context->setFrameColor(CColor{45, 45, 45, 255});
        context->drawRect(CRect(20, 496, 68, 531));
        context->fillRect(CRect(20, 496, 68, 531));
        for (const Caption& caption : kCaptions) {
            context->setFont(caption.font, caption.style);
            context->setFontColor(caption.colour);
            context->drawString(caption.text, caption.rect, false, caption.alignment);
        }
        setDirty(false);
    }
};

// The third frame of the mode strip, as a switch shows position 2.
class StripView : public gui::CView {
public:
    StripView(const CRect& rect, gui::CBitmap* strip) : CView(rect), bitmap(strip) { bitmap->remember(); }
    ~StripView() override { bitmap->forget(); }
    void draw(CDrawContext* context) override {
        bitmap->drawTransparent(context, size, CPoint(0, 2 * 55));
        setDirty(false);
    }

private:
    gui::CBitmap* bitmap;
};

class LinesView : public gui::CView {
public:
    explicit LinesView(const CRect& rect) : CView(rect) {}
    void draw(CDrawContext* context) override {
        context->setFrameColor(CColor{240, 140, 40, 255});
        const CPoint fan[] = {{0, 0}, {60, 20}, {0, 0}, {60, 40}, {0, 0}, {30, 40}, {10, 35}, {50, 5}};
        CPoint shifted[8];
        for (int i = 0; i < 8; ++i) {
            shifted[i] = CPoint(fan[i].h + size.left, fan[i].v + size.top);
        }
        context->drawLines(shifted, 4);
        context->setFrameColor(gui::kWhiteCColor);
        context->setFillColor(CColor{30, 60, 160, 255});
        const CRect box(size.left + 20, size.top + 50, size.left + 70, size.top + 75);
        context->drawRect(box);
        context->fillRect(box);
        setDirty(false);
    }
};

std::vector<std::uint32_t> drawPicture() {
    auto* panel = new gui::CBitmap(128);
    auto* track = new gui::CBitmap(129);
    auto* cap = new gui::CBitmap(130);
    auto* strip = new gui::CBitmap(133);
    auto* frame = new gui::CFrame(CRect(0, 0, panel->getWidth(), panel->getHeight()), nullptr, nullptr);
    frame->setBackground(panel);
    for (const int left : {25, 132}) {
        auto* slot = new gui::CView(CRect(left, 230, left + track->getWidth(), 230 + track->getHeight()));
        slot->setBackground(track);
        frame->addView(slot);
    }
    auto* handle = new gui::CView(CRect(22, 336, 22 + cap->getWidth(), 336 + cap->getHeight()));
    handle->setBackground(cap);
    handle->setTransparency(true);
    frame->addView(handle);
    frame->addView(new StripView(CRect(215, 330, 270, 385), strip));
    auto* inset = new gui::CViewContainer(CRect(280, 440, 380, 530), frame);
    inset->setBackgroundColor(CColor{60, 64, 70, 255});
    inset->useOffscreen(true);
    frame->addView(inset);
    inset->addView(new LinesView(CRect(10, 5, 90, 85)));
    frame->addView(new CaptionsView);
    for (gui::CBitmap* bitmap : {panel, track, cap, strip}) {
        bitmap->forget();
    }

    conformance::Canvas canvas(kWidth, kHeight);
    canvas.fill(0);
    {
        CDrawContext context(frame, canvas.dc, nullptr);
        frame->draw(&context);
    }
    frame->forget();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            pixels[static_cast<std::size_t>(y * kWidth + x)] = canvas.at(x, y) & 0xFFFFFFu;
        }
    }
    return pixels;
}

TEST(ViewTreePicture, TheTreeDrawsEveryLayerInPlace) {
    const std::vector<std::uint32_t> pixels = drawPicture();
    conformance::savePng(conformance::picturePath(std::string("view-tree-") + ZELMOR_PLATFORM_NAME + ".png"), pixels,
                         kWidth, kHeight);
    auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y * kWidth + x)]; };
    EXPECT_EQ(at(200, 300), 0xCBCDD0u) << "the panel's field, premultiplied";
    EXPECT_EQ(at(44, 500), 0x5A5A5Au) << "the display's fill";
    EXPECT_EQ(at(20, 496), 0x2D2D2Du) << "the display's outline";
    EXPECT_EQ(at(311, 496), 0x1E3CA0u) << "the rectangle in the offscreen container";
    EXPECT_EQ(at(310, 495), 0xFFFFFFu) << "its outline";
    EXPECT_EQ(at(281, 441), 0x3C4046u) << "the container's own colour";
    EXPECT_EQ(at(290, 445), 0xF08C28u) << "the lines start at the view's origin";
    EXPECT_NE(at(242, 357), at(200, 300)) << "the knob is there";
    EXPECT_EQ(at(216, 331), at(214, 331)) << "the knob's transparent corner shows the panel";
}

TEST(ViewTreePicture, LinuxAndWindowsPicturesAgree) {
    conformance::expectAgreesWithOtherTarget(kWidth, kHeight, textAreas(), drawPicture);
}

}  // namespace
}  // namespace guitest
