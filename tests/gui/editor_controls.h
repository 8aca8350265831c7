// The editor's controls at the editor's places over the panel, for the toolkit's tests and benchmarks.
#pragma once

#include "gui/control.h"
#include "gui/frame.h"
#include "gui/slider_and_switch.h"
#include "gui/text_edit.h"

namespace guitest {

// The editor's controls at the editor's places, over the panel: two sliders (tags 0 and 1), two value
// displays (3 and 4) that show hertz, and the mode switch (2).
struct EditorControls {
    EditorControls(gui::CFrame* frame, CControlListener* listener, float lower, float upper, float mode);
    gui::CVerticalSlider* lowerSlider;
    gui::CVerticalSlider* upperSlider;
    gui::CTextEdit* lowerDisplay;
    gui::CTextEdit* upperDisplay;
    gui::CVerticalSwitch* modeSwitch;
};

// The editor's display text: the value in whole hertz.
void hertzText(float value, char* text);

}  // namespace guitest
