// The artwork canvas: coverage from distance functions, blur, compositing and PNG writing.
#include "tools/images/canvas.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace artwork {

Colour rgb(int r, int g, int b, float a) {
    return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f, a};
}

Colour mix(const Colour& x, const Colour& y, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

Mask coverage(int width, int height, const Shape& shape) {
    // Four by four samples per pixel: edges come out smooth whatever the shape.
    Mask mask(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float centre = shape(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            if (centre > 1.5f) {
                continue;
            }
            if (centre < -1.5f) {
                mask.at(x, y) = 1.0f;
                continue;
            }
            int inside = 0;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    if (shape(static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / 4.0f,
                              static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / 4.0f) < 0.0f) {
                        ++inside;
                    }
                }
            }
            mask.at(x, y) = static_cast<float>(inside) / 16.0f;
        }
    }
    return mask;
}

Mask blurred(const Mask& mask, int radius) {
    Mask result = mask;
    if (radius <= 0) {
        return result;
    }
    Mask scratch(mask.width, mask.height);
    const float scale = 1.0f / static_cast<float>(2 * radius + 1);
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < mask.height; ++y) {
            for (int x = 0; x < mask.width; ++x) {
                float sum = 0;
                for (int k = -radius; k <= radius; ++k) {
                    sum += result.at(std::clamp(x + k, 0, mask.width - 1), y);
                }
                scratch.at(x, y) = sum * scale;
            }
        }
        for (int y = 0; y < mask.height; ++y) {
            for (int x = 0; x < mask.width; ++x) {
                float sum = 0;
                for (int k = -radius; k <= radius; ++k) {
                    sum += scratch.at(x, std::clamp(y + k, 0, mask.height - 1));
                }
                result.at(x, y) = sum * scale;
            }
        }
    }
    return result;
}

Mask shifted(const Mask& mask, int dx, int dy) {
    Mask result(mask.width, mask.height);
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            const int sx = x - dx;
            const int sy = y - dy;
            if (sx >= 0 && sy >= 0 && sx < mask.width && sy < mask.height) {
                result.at(x, y) = mask.at(sx, sy);
            }
        }
    }
    return result;
}

Canvas::Canvas(int width, int height) : w(width), h(height), pixels(static_cast<std::size_t>(width) * height) {}

void Canvas::paint(const Mask& mask, const Shader& shader, float opacity) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const float cover = mask.at(x, y) * opacity;
            if (cover <= 0.0f) {
                continue;
            }
            const Colour c = shader(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            const float a = std::clamp(c.a * cover, 0.0f, 1.0f);
            Pixel& p = pixels[static_cast<std::size_t>(y) * w + x];
            p.r = c.r * a + p.r * (1 - a);
            p.g = c.g * a + p.g * (1 - a);
            p.b = c.b * a + p.b * (1 - a);
            p.a = a + p.a * (1 - a);
        }
    }
}

void Canvas::paint(const Shape& shape, const Shader& shader, float opacity) {
    paint(coverage(w, h, shape), shader, opacity);
}

void Canvas::place(const Canvas& other, int x0, int y0) {
    for (int y = 0; y < other.h; ++y) {
        for (int x = 0; x < other.w; ++x) {
            const int tx = x + x0;
            const int ty = y + y0;
            if (tx < 0 || ty < 0 || tx >= w || ty >= h) {
                continue;
            }
            const Pixel& s = other.pixels[static_cast<std::size_t>(y) * other.w + x];
            Pixel& d = pixels[static_cast<std::size_t>(ty) * w + tx];
            d.r = s.r + d.r * (1 - s.a);
            d.g = s.g + d.g * (1 - s.a);
            d.b = s.b + d.b * (1 - s.a);
            d.a = s.a + d.a * (1 - s.a);
        }
    }
}

void Canvas::savePng(const std::string& path) const {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        throw std::runtime_error("cannot write " + path);
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        throw std::runtime_error("cannot encode " + path);
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    std::vector<unsigned char> row(static_cast<std::size_t>(w) * 4);
    auto byte = [](float v) { return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Pixel& p = pixels[static_cast<std::size_t>(y) * w + x];
            const unsigned char alpha = byte(p.a);
            const float unpremultiply = p.a > 0.0f ? 1.0f / p.a : 0.0f;
            unsigned char* out = &row[static_cast<std::size_t>(x) * 4];
            out[0] = alpha != 0 ? byte(p.r * unpremultiply) : 0;
            out[1] = alpha != 0 ? byte(p.g * unpremultiply) : 0;
            out[2] = alpha != 0 ? byte(p.b * unpremultiply) : 0;
            out[3] = alpha;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

Shape circle(float cx, float cy, float radius) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

Shape roundedRect(float left, float top, float right, float bottom, float radius) {
    const float cx = (left + right) / 2;
    const float cy = (top + bottom) / 2;
    const float hx = (right - left) / 2 - radius;
    const float hy = (bottom - top) / 2 - radius;
    return [=](float x, float y) {
        const float qx = std::abs(x - cx) - hx;
        const float qy = std::abs(y - cy) - hy;
        return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Shape capsule(float x0, float y0, float x1, float y1, float radius) {
    return [=](float x, float y) {
        const float dx = x1 - x0;
        const float dy = y1 - y0;
        const float length2 = dx * dx + dy * dy;
        const float t = length2 > 0 ? std::clamp(((x - x0) * dx + (y - y0) * dy) / length2, 0.0f, 1.0f) : 0.0f;
        return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy)) - radius;
    };
}

Shape ring(float cx, float cy, float inner, float outer) {
    return [=](float x, float y) {
        const float d = std::hypot(x - cx, y - cy);
        return std::max(d - outer, inner - d);
    };
}

Shape subtract(Shape from, Shape cut) {
    return [=](float x, float y) { return std::max(from(x, y), -cut(x, y)); };
}

float noise(int x, int y, std::uint32_t seed) {
    std::uint32_t h =
        static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFu) / 32767.5f - 1.0f;
}

Shader solid(Colour colour) {
    return [=](float, float) { return colour; };
}

Shader vertical(float top, Colour atTop, float bottom, Colour atBottom) {
    return [=](float, float y) { return mix(atTop, atBottom, (y - top) / (bottom - top)); };
}

}  // namespace artwork
