// The panel: a dark header banner with the logotype, the maker's name and a filter response, over a plain
// light grey field, framed, with a screw in each corner.
#include <cmath>
#include <vector>

#include "tools/images/designs.h"
#include "tools/images/lettering.h"

namespace artwork {
namespace {

constexpr int kWidth = 396;
constexpr int kHeight = 550;
constexpr int kBannerBottom = 184;
const Colour kAmber = rgb(236, 146, 58);

// A resonant two-pole low-pass response on a logarithmic frequency axis: the banner's backdrop.
std::vector<float> responseCurve(int from, int to, float passband, float floor) {
    std::vector<float> ys;
    for (int x = from; x <= to; ++x) {
        const float position = static_cast<float>(x - from) / static_cast<float>(to - from);
        const float ratio = std::pow(1000.0f, position) / std::pow(1000.0f, 0.62f);
        const float q = 2.2f;
        const float gain = 1.0f / std::sqrt((1 - ratio * ratio) * (1 - ratio * ratio) + ratio * ratio / (q * q));
        ys.push_back(std::min(floor, passband - 1.6f * 20 * std::log10(gain)));
    }
    return ys;
}

void drawBanner(Canvas& canvas) {
    canvas.paint(roundedRect(-10, -10, kWidth + 10, kBannerBottom, 0), [](float x, float y) {
        const Colour base = mix(rgb(50, 56, 66), rgb(22, 25, 31), y / kBannerBottom);
        const float grain = 0.008f * noise(static_cast<int>(x / 3), static_cast<int>(y), 3);
        return Colour{base.r + grain, base.g + grain, base.b + grain * 1.2f, 1};
    });
    // A faint plot grid, as on an analyser.
    for (int x = 28; x < kWidth; x += 34) {
        canvas.paint(capsule(static_cast<float>(x), 24, static_cast<float>(x), 178, 0.45f), solid(rgb(255, 255, 255)),
                     0.05f);
    }
    for (int y = 40; y < 180; y += 28) {
        canvas.paint(capsule(12, static_cast<float>(y), kWidth - 12, static_cast<float>(y), 0.45f),
                     solid(rgb(255, 255, 255)), 0.05f);
    }
    // The response, glowing.
    const std::vector<float> curve = responseCurve(12, kWidth - 12, 154, 181);
    Mask stroke(kWidth, kHeight);
    for (std::size_t i = 1; i < curve.size(); ++i) {
        const float x0 = static_cast<float>(11 + i);
        const Mask segment = coverage(kWidth, kHeight, capsule(x0, curve[i - 1], x0 + 1, curve[i], 0.9f));
        for (std::size_t k = 0; k < stroke.values.size(); ++k) {
            stroke.values[k] = std::max(stroke.values[k], segment.values[k]);
        }
    }
    canvas.paint(blurred(stroke, 3), solid(kAmber), 0.55f);
    canvas.paint(stroke, solid(mix(kAmber, rgb(255, 220, 170), 0.4f)), 0.8f);

    // The logotype and the maker's name.
    Lettering logo;
    logo.bold = true;
    logo.pixelSize = 64;
    logo.tracking = 1.5f;
    const Mask word = lettering(kWidth, kHeight, "Zelmor", logo, kWidth / 2.0f, 100);
    canvas.paint(shifted(blurred(word, 3), 0, 3), solid(rgb(0, 0, 0)), 0.7f);
    canvas.paint(word, vertical(52, rgb(252, 252, 253), 100, rgb(188, 193, 201)));
    Lettering maker;
    maker.pixelSize = 15;
    maker.tracking = 2.5f;
    canvas.paint(lettering(kWidth, kHeight, "Korvane Audio", maker, kWidth / 2.0f, 130), solid(kAmber));
    canvas.paint(capsule(92, 125, 122, 125, 0.6f), solid(kAmber), 0.7f);
    canvas.paint(capsule(274, 125, 304, 125, 0.6f), solid(kAmber), 0.7f);

    // The banner's lower edge: an amber rule and a short shadow onto the field.
    canvas.paint(roundedRect(-1, kBannerBottom, kWidth + 1, kBannerBottom + 3, 0),
                 vertical(kBannerBottom, rgb(246, 164, 78), kBannerBottom + 3, rgb(196, 104, 28)));
    canvas.paint(roundedRect(-1, kBannerBottom + 3, kWidth + 1, kBannerBottom + 7, 0),
                 vertical(kBannerBottom + 3, rgb(0, 0, 0, 0.35f), kBannerBottom + 7, rgb(0, 0, 0, 0)));
}

}  // namespace

Canvas panel() {
    Canvas canvas(kWidth, kHeight);
    // The field: one plain grey, so that captions and values read on it alike everywhere.
    canvas.paint(roundedRect(-1, -1, kWidth + 1, kHeight + 1, 0), solid(rgb(204, 206, 209)));
    drawBanner(canvas);
    // A frame: dark outside line, light inner line on the left and top of the field, shade right and bottom.
    canvas.paint(
        subtract(roundedRect(-2, -2, kWidth + 2, kHeight + 2, 0), roundedRect(1, 1, kWidth - 1, kHeight - 1, 0)),
        solid(rgb(64, 66, 72)));
    canvas.paint(roundedRect(1, kBannerBottom + 3, 2, kHeight - 1, 0), solid(rgb(236, 238, 240)));
    canvas.paint(roundedRect(1, kHeight - 2, kWidth - 1, kHeight - 1, 0), solid(rgb(160, 162, 166)));
    canvas.paint(roundedRect(kWidth - 2, kBannerBottom + 3, kWidth - 1, kHeight - 1, 0), solid(rgb(160, 162, 166)));
    for (const float x : {13.0f, kWidth - 13.0f}) {
        drawScrew(canvas, x, 13, 6.5f);
        drawScrew(canvas, x, kHeight - 14, 6.5f);
    }
    return canvas;
}

}  // namespace artwork
