// The slider's track (a recessed slot with rounded ends on a plate, with scale marks) and its cap.
#include <cmath>

#include "tools/images/designs.h"

namespace artwork {

Canvas sliderTrack() {
    Canvas canvas(38, 261);
    const int w = canvas.width();
    const int h = canvas.height();
    // The plate, bevelled: light along the top edge, dark along the bottom.
    canvas.paint(roundedRect(0.5f, 0.5f, 37.5f, 260.5f, 9), vertical(0, rgb(236, 238, 240), 261, rgb(150, 152, 156)));
    canvas.paint(roundedRect(1.5f, 1.5f, 36.5f, 259.5f, 8), vertical(0, rgb(190, 192, 196), 261, rgb(204, 206, 209)));
    // Scale marks beside the slot, where the cap's groove stands at each tenth of the range.
    for (int mark = 0; mark <= 10; ++mark) {
        const float y = 26.5f + static_cast<float>(mark) * 20.9f;
        const float length = mark % 5 == 0 ? 7.0f : 4.5f;
        canvas.paint(capsule(12.5f - length, y, 11.5f, y, 0.55f), solid(rgb(70, 72, 78)), 0.9f);
        canvas.paint(capsule(26.5f, y, 25.5f + length, y, 0.55f), solid(rgb(70, 72, 78)), 0.9f);
    }
    // The slot: dark, deepest at the top where the plate's edge shades it.
    canvas.paint(capsule(19, 16, 19, 245, 4.6f), solid(rgb(250, 250, 252)), 0.55f);
    canvas.paint(capsule(19, 15, 19, 244, 4.6f), solid(rgb(16, 17, 20)));
    const Mask slot = coverage(w, h, capsule(19, 15, 19, 244, 3.8f));
    canvas.paint(slot, vertical(0, rgb(30, 32, 36), 261, rgb(48, 50, 55)));

    return canvas;
}

Canvas sliderCap() {
    Canvas canvas(41, 51);
    const int w = canvas.width();
    const int h = canvas.height();
    // Drawn three pixels left of the track, the cap's body is centred over the slot.
    const float left = 4.5f;
    const float right = 39.5f;
    canvas.paint(shifted(blurred(coverage(w, h, roundedRect(left, 2, right, 48, 5)), 1), 1, 2), solid(rgb(0, 0, 0)),
                 0.55f);
    canvas.paint(roundedRect(left, 1.5f, right, 47.5f, 5), vertical(1, rgb(92, 96, 102), 48, rgb(24, 26, 30)));
    canvas.paint(roundedRect(left + 1, 2.5f, right - 1, 46.5f, 4), [](float x, float y) {
        // A softly curved top: lighter in the upper half, with a faint horizontal grain.
        const float t = (y - 2.5f) / 44.0f;
        const float curve = 0.08f * std::cos((t - 0.3f) * 3.14159f);
        const float grain = 0.012f * noise(0, static_cast<int>(y * 2), 11) +
                            0.006f * noise(static_cast<int>(x), static_cast<int>(y), 12);
        const Colour base = mix(rgb(222, 225, 229), rgb(150, 154, 160), t);
        return Colour{base.r + curve + grain, base.g + curve + grain, base.b + curve + grain, 1};
    });
    // Grip ridges above and below the groove.
    for (const float y : {10.5f, 14.5f, 18.5f, 32.5f, 36.5f, 40.5f}) {
        canvas.paint(capsule(left + 6, y + 0.8f, right - 6, y + 0.8f, 0.55f), solid(rgb(255, 255, 255)), 0.55f);
        canvas.paint(capsule(left + 6, y, right - 6, y, 0.55f), solid(rgb(70, 74, 80)), 0.8f);
    }
    // The groove that marks the value.
    canvas.paint(capsule(left + 2.5f, 26.3f, right - 2.5f, 26.3f, 0.9f), solid(rgb(255, 255, 255)), 0.6f);
    canvas.paint(capsule(left + 2.5f, 25, right - 2.5f, 25, 1.2f), solid(rgb(232, 132, 36)));
    return canvas;
}

}  // namespace artwork
