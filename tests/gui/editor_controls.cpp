// The editor's controls over the panel: sliders, value displays and the mode switch, as the editor lays them out.
#include "tests/gui/editor_controls.h"

#include <cstdio>
#include <initializer_list>

#include "effect/parameter_converter.h"
#include "gui/bitmap.h"
#include "gui/draw_context.h"

namespace guitest {

void hertzText(float value, char* text) {
    const ZelmorConverter converter;
    std::snprintf(text, gui::kTextBufferSize, "%d Hz", static_cast<int>(converter.convert(0, value) + 0.5f));
}

namespace {

gui::CTextEdit* makeDisplay(const gui::CRect& rect, CControlListener* listener, std::int32_t tag, float value) {
    auto* display = new gui::CTextEdit(rect, listener, tag, nullptr, nullptr, 1);
    display->setFont(gui::kNormalFontSmall);
    display->setFontColor(gui::kWhiteCColor);
    display->setBackColor(gui::CColor{90, 90, 90, 255});
    display->setFrameColor(gui::CColor{45, 45, 45, 255});
    display->setStringConvert(hertzText);
    display->setWantsFocus(true);
    display->setValue(value);
    return display;
}

}  // namespace

EditorControls::EditorControls(gui::CFrame* frame, CControlListener* listener, float lower, float upper, float mode) {
    auto* panel = new gui::CBitmap(128);
    auto* track = new gui::CBitmap(129);
    auto* cap = new gui::CBitmap(130);
    auto* strip = new gui::CBitmap(133);
    frame->setBackground(panel);
    const std::int32_t trackHeight = track->getHeight();
    auto makeSlider = [&](std::int32_t left, std::int32_t tag, float value) {
        auto* slider =
            new gui::CVerticalSlider(gui::CRect(left, 230, left + track->getWidth(), 230 + trackHeight), listener, tag,
                                     230, 229 + trackHeight - cap->getHeight(), cap, track, gui::CPoint(0, 0));
        slider->setOffsetHandle(gui::CPoint(-3, 1));
        slider->setTransparency(true);
        slider->setValue(value);
        frame->addView(slider);
        return slider;
    };
    lowerSlider = makeSlider(25, 0, lower);
    upperSlider = makeSlider(132, 1, upper);
    lowerDisplay =
        makeDisplay(gui::CRect(20, trackHeight + 235, track->getWidth() + 30, trackHeight + 270), listener, 3, lower);
    frame->addView(lowerDisplay);
    upperDisplay =
        makeDisplay(gui::CRect(127, trackHeight + 235, track->getWidth() + 137, trackHeight + 270), listener, 4, upper);
    frame->addView(upperDisplay);
    const std::int32_t imageHeight = strip->getHeight() / 4;
    modeSwitch = new gui::CVerticalSwitch(gui::CRect(215, 330, 215 + strip->getWidth(), 330 + imageHeight), listener, 2,
                                          4, imageHeight, 4, strip, gui::CPoint(0, 0));
    modeSwitch->setTransparency(true);
    modeSwitch->setValue(mode);
    frame->addView(modeSwitch);
    for (gui::CBitmap* bitmap : {panel, track, cap, strip}) {
        bitmap->forget();
    }
}

}  // namespace guitest
