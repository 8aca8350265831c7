// Reading the editor's panel: handle tops, regions, and displays and labels drawn for comparison.
#include "tests/editor/panel_reading.h"

#include <cstring>

#include "gui/draw_context.h"
#include "gui/text_edit.h"
#include "tests/conformance/support.h"
#include "tests/editor/editor_host.h"

namespace editortest {

int handleTop(const Pixels& picture, const Pixels& reference, int referenceTop, int sliderLeft) {
    // The handle's middle column; its image's first row is clear, its second half covered.
    const int x = sliderLeft - 3 + 20;
    for (int y = kSliderTop; y < kSliderTop + 261; ++y) {
        if (y >= referenceTop && y < referenceTop + kHandleHeight) {
            continue;
        }
        const auto at = static_cast<std::size_t>(y * kWidth + x);
        if (picture[at] != reference[at]) {
            return y - 1;
        }
    }
    return -1;
}

Pixels region(const Pixels& picture, const gui::CRect& rect) {
    Pixels part;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            part.push_back(picture[static_cast<std::size_t>(y * kWidth + x)]);
        }
    }
    return part;
}

namespace {

// Dark enough to be black text, whatever the panel's shading beneath.
bool isInk(std::uint32_t pixel) {
    const std::uint32_t red = (pixel >> 16) & 0xFFu;
    const std::uint32_t green = (pixel >> 8) & 0xFFu;
    const std::uint32_t blue = pixel & 0xFFu;
    return red + green + blue < 3u * 100u;
}

void fixedText(float /*value*/, char* text, void* userData) {
    std::strncpy(text, static_cast<const char*>(userData), gui::kTextBufferSize - 1);
}

}  // namespace

Pixels displayShowing(const std::string& text) {
    const gui::CRect rect(0, 0, 48, 35);
    conformance::Canvas canvas(rect.width(), rect.height());
    auto* display = new gui::CParamDisplay(rect, nullptr, 1);
    display->setFont(gui::kNormalFontSmall);
    display->setFontColor(gui::kWhiteCColor);
    display->setBackColor(gui::CColor{90, 90, 90, 255});
    display->setFrameColor(gui::CColor{45, 45, 45, 255});
    display->setStringConvert(fixedText, const_cast<char*>(text.c_str()));
    {
        gui::CDrawContext context(nullptr, canvas.dc, nullptr);
        display->draw(&context);
    }
    display->forget();
    Pixels pixels;
    for (int y = 0; y < rect.height(); ++y) {
        for (int x = 0; x < rect.width(); ++x) {
            pixels.push_back(canvas.at(x, y) & 0xFFFFFFu);
        }
    }
    return pixels;
}

gui::CRect labelInk(const std::string& text, const gui::CRect& rect, bool bold, std::uint32_t fill) {
    const gui::CRect local(0, 0, rect.width(), rect.height());
    conformance::Canvas canvas(rect.width(), rect.height());
    canvas.fill(fill);
    {
        gui::CDrawContext context(nullptr, canvas.dc, nullptr);
        context.setFontColor(gui::kBlackCColor);
        context.setFont(gui::kNormalFontBig, bold ? gui::kBoldFace : 0);
        context.drawString(text.c_str(), local, false, gui::kCenterText);
    }
    gui::CRect ink;
    for (int y = 0; y < rect.height(); ++y) {
        for (int x = 0; x < rect.width(); ++x) {
            if (isInk(canvas.at(x, y))) {
                ink.unite(gui::CRect(x, y, x + 1, y + 1));
            }
        }
    }
    return ink;
}

gui::CRect inkIn(const Pixels& picture, const gui::CRect& rect) {
    gui::CRect ink;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            if (isInk(picture[static_cast<std::size_t>(y * kWidth + x)])) {
                ink.unite(gui::CRect(x - rect.left, y - rect.top, x - rect.left + 1, y - rect.top + 1));
            }
        }
    }
    return ink;
}

}  // namespace editortest
