// PNG files of every colour type and depth, written with libpng for the decoder's tests.
#pragma once

#include <png.h>

#include <cstdint>
#include <vector>

namespace guitest {

struct PngFormat {
    int width = 1;
    int height = 1;
    int colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<png_byte> paletteAlpha;  // tRNS for palette images
    bool keyColour = false;              // tRNS for grey and RGB images
    png_color_16 key{};
};

// Rows hold the samples as PNG stores them: packed below 8 bits, big-endian at 16.
std::vector<std::uint8_t> writePng(const PngFormat& format, const std::vector<std::vector<std::uint8_t>>& rows);

}  // namespace guitest
