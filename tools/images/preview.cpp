// A mock-up of the editor from the generated images, for judging the artwork in place.
#include "tools/images/designs.h"
#include "tools/images/lettering.h"

namespace artwork {

Canvas editorPreview() {
    Canvas canvas = panel();
    const Canvas track = sliderTrack();
    const Canvas cap = sliderCap();
    const Canvas strip = modeSwitchStrip();
    // The sliders at the left and the middle of their travel, as the editor places them.
    canvas.place(track, 25, 230);
    canvas.place(track, 132, 230);
    canvas.place(cap, 25 - 3, 439 + 1);
    canvas.place(cap, 132 - 3, 335 + 1);
    Canvas frame(55, 55);
    frame.place(strip, 0, -55);
    canvas.place(frame, 215, 330);
    for (const float left : {20.0f, 127.0f}) {
        canvas.paint(roundedRect(left, 496, left + 48, 531, 0), solid(rgb(45, 45, 45)));
        canvas.paint(roundedRect(left + 1, 497, left + 47, 530, 0), solid(rgb(90, 90, 90)));
    }
    Lettering bold;
    bold.bold = true;
    bold.pixelSize = 14;
    Lettering normal;
    normal.pixelSize = 14;
    const int w = canvas.width();
    const int h = canvas.height();
    canvas.paint(lettering(w, h, "Freq 1", bold, 47, 215), solid(rgb(0, 0, 0)));
    canvas.paint(lettering(w, h, "Freq 2", bold, 153, 215), solid(rgb(0, 0, 0)));
    canvas.paint(lettering(w, h, "Filter Type", bold, 280, 270), solid(rgb(0, 0, 0)));
    const char* modes[4] = {"Low Pass", "High Pass", "Band Pass", "Band Stop"};
    for (int i = 0; i < 4; ++i) {
        canvas.paint(lettering(w, h, modes[i], normal, 350, 310.0f + 35.0f * static_cast<float>(i)),
                     solid(rgb(0, 0, 0)));
    }
    return canvas;
}

}  // namespace artwork
