// Encodes test images in memory with libpng.
#include "tests/gui/png_writer.h"

#include <stdexcept>

namespace guitest {
namespace {

void append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flush(png_structp /*png*/) {}

}  // namespace

std::vector<std::uint8_t> writePng(const PngFormat& format, const std::vector<std::vector<std::uint8_t>>& rows) {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng refused the test image");
    }
    png_set_write_fn(png, &out, append, flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(format.width), static_cast<png_uint_32>(format.height),
                 format.bitDepth, format.colourType, format.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!format.palette.empty()) {
        png_set_PLTE(png, info, format.palette.data(), static_cast<int>(format.palette.size()));
    }
    if (!format.paletteAlpha.empty()) {
        png_set_tRNS(png, info, format.paletteAlpha.data(), static_cast<int>(format.paletteAlpha.size()), nullptr);
    }
    if (format.keyColour) {
        png_color_16 key = format.key;
        png_set_tRNS(png, info, nullptr, 0, &key);
    }
    png_write_info(png, info);
    std::vector<png_bytep> pointers;
    for (const auto& row : rows) {
        pointers.push_back(const_cast<png_bytep>(row.data()));
    }
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

}  // namespace guitest
