// The rotary knob (plain face and the four pointer positions of the mode switch) and the screw head.
#include <cmath>

#include "tools/images/designs.h"

namespace artwork {
namespace {

constexpr float kPi = 3.14159265f;
constexpr float kCentre = 27.5f;

// Brushed metal seen from above: concentric grain and two broad reflections across the disc.
Shader brushedMetal(float cx, float cy, Colour base, float shine) {
    return [=](float x, float y) {
        const float angle = std::atan2(y - cy, x - cx);
        const float radius = std::hypot(x - cx, y - cy);
        const float reflection = shine * std::cos(2 * (angle + 0.6f)) + 0.04f * std::cos(6 * angle);
        const float grain = 0.018f * noise(static_cast<int>(radius * 3), 0, 7);
        const float lift = reflection + grain - 0.06f * (y - cy) / 24;
        return Colour{base.r + lift, base.g + lift, base.b + lift, 1};
    };
}

void drawKnob(Canvas& canvas, float top, bool withPointer, float pointerDegrees) {
    const float cy = top + kCentre;
    const int w = canvas.width();
    const int h = canvas.height();
    canvas.paint(shifted(blurred(coverage(w, h, circle(kCentre, cy, 24.5f)), 2), 0, 1), solid(rgb(0, 0, 0)), 0.55f);
    canvas.paint(circle(kCentre, cy, 24.5f), vertical(cy - 24, rgb(112, 116, 122), cy + 24, rgb(28, 30, 34)));
    canvas.paint(circle(kCentre, cy, 22.5f), vertical(cy - 22, rgb(34, 36, 40), cy + 22, rgb(96, 100, 106)));
    canvas.paint(circle(kCentre, cy, 21.5f), brushedMetal(kCentre, cy, rgb(150, 154, 160), 0.10f));
    canvas.paint(ring(kCentre, cy, 16.8f, 17.8f), solid(rgb(40, 42, 46)), 0.45f);
    canvas.paint(circle(kCentre, cy, 16.8f), brushedMetal(kCentre, cy, rgb(184, 188, 194), 0.14f));
    if (!withPointer) {
        return;
    }
    const float radians = pointerDegrees * kPi / 180.0f;
    const float dx = std::sin(radians);
    const float dy = -std::cos(radians);
    canvas.paint(capsule(kCentre + dx * 6.5f, cy + dy * 6.5f + 0.6f, kCentre + dx * 15, cy + dy * 15 + 0.6f, 2.3f),
                 solid(rgb(0, 0, 0)), 0.35f);
    canvas.paint(capsule(kCentre + dx * 6.5f, cy + dy * 6.5f, kCentre + dx * 15, cy + dy * 15, 1.6f),
                 solid(rgb(240, 140, 42)));
    canvas.paint(circle(kCentre + dx * 19.8f, cy + dy * 19.8f, 1.3f), solid(rgb(246, 170, 90)));
}

}  // namespace

Canvas knobFace() {
    Canvas canvas(55, 55);
    drawKnob(canvas, 0, false, 0);
    return canvas;
}

Canvas modeSwitchStrip() {
    // Each pointer aims at the start of its mode name's leader line on the panel.
    const float angles[4] = {23, 60, 120, 157};
    Canvas canvas(55, 220);
    for (int frame = 0; frame < 4; ++frame) {
        Canvas one(55, 55);
        drawKnob(one, 0, true, angles[frame]);
        canvas.place(one, 0, frame * 55);
    }
    return canvas;
}

void drawScrew(Canvas& canvas, float cx, float cy, float radius) {
    const int w = canvas.width();
    const int h = canvas.height();
    canvas.paint(shifted(blurred(coverage(w, h, circle(cx, cy, radius)), 1), 0, 1), solid(rgb(0, 0, 0)), 0.45f);
    canvas.paint(circle(cx, cy, radius), vertical(cy - radius, rgb(120, 124, 130), cy + radius, rgb(46, 48, 52)));
    canvas.paint(circle(cx, cy, radius - 1.2f), brushedMetal(cx, cy, rgb(170, 174, 180), 0.12f));
    const float arm = radius * 0.62f;
    const float d = arm * 0.7071f;
    for (const float sign : {1.0f, -1.0f}) {
        canvas.paint(capsule(cx - d, cy - sign * d + 0.7f, cx + d, cy + sign * d + 0.7f, 1.1f),
                     solid(rgb(255, 255, 255)), 0.35f);
        canvas.paint(capsule(cx - d, cy - sign * d, cx + d, cy + sign * d, 1.1f), solid(rgb(44, 46, 50)));
    }
}

Canvas screw() {
    Canvas canvas(23, 24);
    drawScrew(canvas, 11.5f, 11.5f, 9.5f);
    return canvas;
}

}  // namespace artwork
