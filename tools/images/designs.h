// The six images of the editor, drawn from shapes: panel, slider track and cap, knob face, screw, mode strip.
#pragma once

#include "tools/images/canvas.h"

namespace artwork {

Canvas panel();            // 396 by 550: the header banner over a plain light grey field
Canvas sliderTrack();      // 38 by 261
Canvas sliderCap();        // 41 by 51
Canvas knobFace();         // 55 by 55
Canvas screw();            // 23 by 24
Canvas modeSwitchStrip();  // 55 by 220: the knob with its pointer at the four mode positions

// A screw head centred on a point, as in the panel's corners.
void drawScrew(Canvas& canvas, float cx, float cy, float radius);

// The panel with the other images placed as the editor places them, and the captions.
Canvas editorPreview();

}  // namespace artwork
