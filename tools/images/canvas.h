// A floating-point RGBA canvas for the artwork: premultiplied layers, soft shapes, blur and PNG output.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace artwork {

struct Colour {
    float r = 0, g = 0, b = 0, a = 1;  // straight (not premultiplied), 0..1
};
Colour rgb(int r, int g, int b, float a = 1.0f);
Colour mix(const Colour& x, const Colour& y, float t);

// Coverage per pixel, 0..1.
struct Mask {
    Mask(int w, int h) : width(w), height(h), values(static_cast<std::size_t>(w) * h, 0.0f) {}
    float& at(int x, int y) { return values[static_cast<std::size_t>(y) * width + x]; }
    float at(int x, int y) const { return values[static_cast<std::size_t>(y) * width + x]; }
    int width;
    int height;
    std::vector<float> values;
};

// A signed distance in pixels from a point to a shape's edge, negative inside.
using Shape = std::function<float(float x, float y)>;
// The colour of a point, for gradients and lighting.
using Shader = std::function<Colour(float x, float y)>;

Mask coverage(int width, int height, const Shape& shape);
// Three box passes: close to a Gaussian of the given radius.
Mask blurred(const Mask& mask, int radius);
Mask shifted(const Mask& mask, int dx, int dy);

class Canvas {
public:
    Canvas(int width, int height);
    // Paints the shader where the mask covers, over what is there (source over).
    void paint(const Mask& mask, const Shader& shader, float opacity = 1.0f);
    void paint(const Shape& shape, const Shader& shader, float opacity = 1.0f);
    // Copies another canvas in at an offset, over what is there.
    void place(const Canvas& other, int x, int y);
    // Writes 8-bit RGBA, non-interlaced, with nothing but the image data, so output is reproducible.
    void savePng(const std::string& path) const;

    int width() const { return w; }
    int height() const { return h; }

private:
    struct Pixel {
        float r = 0, g = 0, b = 0, a = 0;  // premultiplied
    };
    int w;
    int h;
    std::vector<Pixel> pixels;
};

// Shapes.
Shape circle(float cx, float cy, float radius);
Shape roundedRect(float left, float top, float right, float bottom, float radius);
Shape capsule(float x0, float y0, float x1, float y1, float radius);  // a segment with round ends
Shape ring(float cx, float cy, float inner, float outer);
Shape subtract(Shape from, Shape cut);

// A repeatable noise value in -1..1 for a pixel and a seed.
float noise(int x, int y, std::uint32_t seed);
Shader solid(Colour colour);
Shader vertical(float top, Colour atTop, float bottom, Colour atBottom);

}  // namespace artwork
